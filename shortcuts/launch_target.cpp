#include <array>

#include "platform/base/text.h"
#include "shortcuts/shortcuts.h"

namespace zoriza {

namespace {

constexpr std::array<const wchar_t*, 4> kAppCodes = {L"VekPro", L"VekFin", L"VekCom", L"VekNom"};

}  // namespace

LaunchTarget ResolveLaunchTarget(std::int16_t editionIndex, const std::wstring& folderPath,
                                 bool sixteenBit) {
    LaunchTarget target;
    if (editionIndex >= 0 && editionIndex < static_cast<std::int16_t>(kAppCodes.size())) {
        target.AppCode = kAppCodes[static_cast<std::size_t>(editionIndex)];
    }
    target.ServerDir = folderPath;
    if (target.ServerDir.empty() || target.ServerDir.back() != L'\\') target.ServerDir += L'\\';
    if (sixteenBit) {
        target.BatchFile = AsciiUpper(target.AppCode) + L".BAT";
        target.BinFolder = L"BIN16";
    } else {
        target.BatchFile = L"VEKBIN.BAT";
        target.BinFolder = L"BIN";
    }
    return target;
}

}  // namespace zoriza
