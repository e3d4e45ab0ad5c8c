#include "platform/win32/win32_drives.h"

#include <windows.h>

#include <cwctype>

#include "platform/win32/sized_text.h"

namespace zoriza {

std::vector<std::wstring> LogicalDriveEntries() {
    // The roots one after another, each ending in a zero: "c:\\<0>f:\\<0>".
    const std::wstring roots =
        SizedText([](wchar_t* buffer, DWORD size) { return GetLogicalDriveStringsW(size, buffer); });
    std::vector<std::wstring> entries;
    std::size_t at = 0;
    while (at < roots.size() && roots[at] != L'\0') {
        entries.push_back({static_cast<wchar_t>(towlower(roots[at])), L':'});
        const std::size_t end = roots.find(L'\0', at);
        if (end == std::wstring::npos) break;
        at = end + 1;
    }
    return entries;
}

}  // namespace zoriza
