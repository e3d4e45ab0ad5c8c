// Where the program's libraries come from, on every Windows it starts on.
// The search flags (SetDefaultDllDirectories and LoadLibraryExW's
// LOAD_LIBRARY_SEARCH_ flags) came with Windows 8, and with update KB2533623
// to Windows 7; they are looked up, never imported, and where they are
// missing the same libraries are found by the older means.
#pragma once

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace zoriza {

// A function of a loaded module by name, or null when the module lacks it.
template <typename Function>
Function LookUp(HMODULE module, const char* name) {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The functions the library search is made with.
struct LibrarySearch {
    // Null where the system has no search flags.
    BOOL(WINAPI* setDefaultDllDirectories)(DWORD) = nullptr;
    BOOL(WINAPI* setDllDirectory)(LPCWSTR) = SetDllDirectoryW;
    HMODULE(WINAPI* loadLibraryEx)(LPCWSTR, HANDLE, DWORD) = LoadLibraryExW;
};

// The running system's functions.
LibrarySearch SystemLibrarySearch();

// Narrows the search of every later load to the system folder; where the
// system cannot narrow it that far, takes at least the current folder out of
// it. False when neither could be done.
bool NarrowLibrarySearch(const LibrarySearch& search);

// Loads `name` from the system folder: with the search flag where the system
// has one, else by the library's full path there. Empty when it cannot be
// loaded.
UniqueModule LoadSystemLibrary(const wchar_t* name, const LibrarySearch& search = SystemLibrarySearch());

}  // namespace zoriza
