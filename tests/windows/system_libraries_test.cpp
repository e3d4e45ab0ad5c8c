// Where libraries come from with and without the search functions of
// Windows 8 (and of Windows 7 with its update): stand-ins record what the
// program asked of the system.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/system_libraries.h"

namespace zoriza {
namespace {

struct Asked {
    bool defaultsSucceed = true;
    bool dllDirectorySucceeds = true;
    int defaultsCalls = 0;
    DWORD defaultsFlags = 0;
    int dllDirectoryCalls = 0;
    std::wstring dllDirectory;
    std::wstring loadedName;
    DWORD loadFlags = 0;
};
Asked asked;

BOOL WINAPI SetDefaults(DWORD flags) {
    ++asked.defaultsCalls;
    asked.defaultsFlags = flags;
    return asked.defaultsSucceed;
}

BOOL WINAPI SetDirectory(LPCWSTR folder) {
    ++asked.dllDirectoryCalls;
    asked.dllDirectory = folder;
    return asked.dllDirectorySucceeds;
}

// LoadLibraryExW as Windows 7 without the update has it: the search flags
// are an invalid parameter.
HMODULE WINAPI LoadAsWindows7(LPCWSTR name, HANDLE file, DWORD flags) {
    asked.loadedName = name;
    asked.loadFlags = flags;
    if ((flags & LOAD_LIBRARY_SEARCH_SYSTEM32) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return LoadLibraryExW(name, file, flags);
}

LibrarySearch WithStandIns(bool hasSearchFlags) {
    LibrarySearch search;
    search.setDefaultDllDirectories = hasSearchFlags ? &SetDefaults : nullptr;
    search.setDllDirectory = &SetDirectory;
    search.loadLibraryEx = &LoadAsWindows7;
    return search;
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, length < MAX_PATH ? length : 0);
}

TEST(LibrarySearchTest, TheSystemFolderOnlyWhereItCanBeSetElseNotTheCurrentFolder) {
    const struct {
        bool hasSearchFlags;
        bool defaultsSucceed;
        bool dllDirectorySucceeds;
        bool narrowed;
        int dllDirectoryCalls;
    } cases[] = {
        {true, true, true, true, 0},
        {true, false, true, true, 1},
        {false, true, true, true, 1},
        {false, true, false, false, 1},
    };
    for (const auto& c : cases) {
        asked = Asked{};
        asked.defaultsSucceed = c.defaultsSucceed;
        asked.dllDirectorySucceeds = c.dllDirectorySucceeds;
        asked.dllDirectory = L"not asked";
        EXPECT_EQ(NarrowLibrarySearch(WithStandIns(c.hasSearchFlags)), c.narrowed) << c.hasSearchFlags;
        EXPECT_EQ(asked.defaultsCalls, c.hasSearchFlags ? 1 : 0);
        EXPECT_EQ(asked.defaultsFlags, c.hasSearchFlags ? static_cast<DWORD>(LOAD_LIBRARY_SEARCH_SYSTEM32) : 0u);
        EXPECT_EQ(asked.dllDirectoryCalls, c.dllDirectoryCalls);
        EXPECT_EQ(asked.dllDirectory, c.dllDirectoryCalls != 0 ? L"" : L"not asked");
    }
}

TEST(LibrarySearchTest, ALibraryIsLoadedByTheSearchFlagWhereThereIsOne) {
    asked = Asked{};
    EXPECT_FALSE(LoadSystemLibrary(L"mpr.dll", WithStandIns(true)));  // the stand-in refuses the flag
    EXPECT_EQ(asked.loadedName, L"mpr.dll");
    EXPECT_EQ(asked.loadFlags, static_cast<DWORD>(LOAD_LIBRARY_SEARCH_SYSTEM32));
}

TEST(LibrarySearchTest, WithoutTheSearchFlagsALibraryIsLoadedByItsPathInTheSystemFolder) {
    asked = Asked{};
    const UniqueModule library = LoadSystemLibrary(L"mpr.dll", WithStandIns(false));
    ASSERT_TRUE(library) << asked.loadedName << " " << asked.loadFlags;
    const std::wstring system = SystemFolder();
    ASSERT_FALSE(system.empty());
    EXPECT_EQ(_wcsicmp(FolderOf(asked.loadedName).c_str(), system.c_str()), 0) << asked.loadedName;
    wchar_t loaded[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameW(library.get(), loaded, MAX_PATH), 0u);
    EXPECT_EQ(_wcsicmp(FolderOf(loaded).c_str(), system.c_str()), 0) << loaded;
}

TEST(LibrarySearchTest, TheRunningSystemsFunctionsLoadFromTheSystemFolder) {
    const UniqueModule library = LoadSystemLibrary(L"mpr.dll");
    ASSERT_TRUE(library);
    wchar_t loaded[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameW(library.get(), loaded, MAX_PATH), 0u);
    EXPECT_EQ(_wcsicmp(FolderOf(loaded).c_str(), SystemFolder().c_str()), 0) << loaded;
}

}  // namespace
}  // namespace zoriza
