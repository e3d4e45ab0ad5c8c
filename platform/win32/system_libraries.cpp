#include "platform/win32/system_libraries.h"

#include <string>

namespace zoriza {

namespace {

// The system folder's full path with `name` appended; empty when the system
// cannot say where its folder is.
std::wstring SystemFolderPath(const wchar_t* name) {
    std::wstring path(MAX_PATH, L'\0');
    UINT length = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
    if (length >= path.size()) {
        path.assign(length, L'\0');
        length = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
    }
    if (length == 0 || length >= path.size()) return {};
    path.resize(length);
    return path + L'\\' + name;
}

}  // namespace

LibrarySearch SystemLibrarySearch() {
    LibrarySearch search;
    search.setDefaultDllDirectories =
        LookUp<decltype(search.setDefaultDllDirectories)>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    return search;
}

bool NarrowLibrarySearch(const LibrarySearch& search) {
    if (search.setDefaultDllDirectories != nullptr &&
        search.setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return true;
    }
    // An empty folder takes the current one out of the search order.
    return search.setDllDirectory(L"") != FALSE;
}

UniqueModule LoadSystemLibrary(const wchar_t* name, const LibrarySearch& search) {
    if (search.setDefaultDllDirectories != nullptr) {
        return UniqueModule(search.loadLibraryEx(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    }
    const std::wstring path = SystemFolderPath(name);
    if (path.empty()) return UniqueModule();
    // The libraries it needs in turn are looked for beside it first.
    return UniqueModule(search.loadLibraryEx(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

}  // namespace zoriza
