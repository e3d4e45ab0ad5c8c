#include "platform/win32/win32_drives.h"

#include <windows.h>

#include <cwctype>

namespace zoriza {

std::vector<std::wstring> LogicalDriveEntries() {
    std::wstring roots;
    DWORD needed = GetLogicalDriveStringsW(0, nullptr);
    // A drive may come between the two calls; ask again while the list grew.
    while (needed > roots.size()) {
        roots.assign(needed, L'\0');
        needed = GetLogicalDriveStringsW(static_cast<DWORD>(roots.size()), roots.data());
    }
    roots.resize(needed);
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
