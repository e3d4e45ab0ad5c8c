// Any text read back as a saved number either overflows or gives a number
// whose saved text reads back as itself.
#include <cstdlib>

#include "platform/base/error.h"
#include "settings/settings_store.h"
#include "tests/fuzz/fuzz_input.h"

using namespace zoriza;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::wstring text = input.Rest();
    try {
        const std::int16_t number = ReadSavedNumber(text);
        if (ReadSavedNumber(NumberText(number)) != number) std::abort();
    } catch (const AppError& error) {
        if (error.Number() != kOverflow) std::abort();
    }
    return 0;
}
