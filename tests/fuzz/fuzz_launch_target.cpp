// The launch target of any edition index, folder and platform keeps its rules.
#include <cstdlib>

#include "shortcuts/shortcuts.h"
#include "tests/fuzz/fuzz_input.h"

using namespace zoriza;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::int16_t edition = input.Int16();
    const bool sixteenBit = input.Byte() & 1;
    const std::wstring folder = input.Rest();
    const LaunchTarget target = ResolveLaunchTarget(edition, folder, sixteenBit);
    if (target.ServerDir.empty() || target.ServerDir.back() != L'\\') std::abort();
    if (target.ServerDir != folder && target.ServerDir != folder + L"\\") std::abort();
    if ((edition < 0 || edition > 3) != target.AppCode.empty()) std::abort();
    if (sixteenBit ? target.BinFolder != L"BIN16" : target.BatchFile != L"VEKBIN.BAT") std::abort();
    return 0;
}
