#include "platform/win32/win32_file_system.h"

#include "platform/win32/folder_owner.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_error.h"

namespace zoriza {

namespace {

bool Matches(const WIN32_FIND_DATAW& entry, EntryKinds kinds) {
    const DWORD attributes = entry.dwFileAttributes;
    if (kinds == EntryKinds::AnyFolder) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return false;
    return !(attributes & FILE_ATTRIBUTE_DIRECTORY) || kinds == EntryKinds::FoldersAndFiles;
}

// "Nothing there": the lookup found no entry, as opposed to a drive or
// folder that could not be read.
bool IsNothingThere(DWORD code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_NO_MORE_FILES ||
           code == ERROR_DIRECTORY;
}

// Listing a FILE as if it were a folder finds nothing in it; some systems
// answer "invalid name" for that instead of "not a folder".
bool IsFileListedAsFolder(const std::wstring& path, DWORD code) {
    if (code != ERROR_INVALID_NAME || path.empty() || path.back() != L'\\') return false;
    const DWORD attributes = GetFileAttributesW(path.substr(0, path.size() - 1).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The first entry matching `path` among `kinds`; a path ending in "\" lists
// what that folder holds.
std::wstring FindFirstMatch(const std::wstring& path, EntryKinds kinds) {
    const std::wstring pattern = !path.empty() && path.back() == L'\\' ? path + L"*" : path;
    WIN32_FIND_DATAW entry{};
    const UniqueFindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry,
                                           FindExSearchNameMatch, nullptr, 0));
    if (!find) {
        const DWORD code = GetLastError();
        if (IsNothingThere(code) || IsFileListedAsFolder(path, code)) return {};
        throw FileError(code);
    }
    do {
        if (Matches(entry, kinds)) return entry.cFileName;
    } while (FindNextFileW(find.get(), &entry));
    const DWORD code = GetLastError();
    if (IsNothingThere(code)) return {};
    throw FileError(code);
}

// A folder on a local fixed disk whose owner the scan cannot trust. Other
// drives (servers, removable media) are left to whoever manages them.
bool IsUntrustedLocalFolder(const std::wstring& folder) {
    const std::wstring root = folder.substr(0, 2) + L"\\";
    return GetDriveTypeW(root.c_str()) == DRIVE_FIXED && !OwnedByTrustedAccount(folder);
}

bool RemoveOneFile(const std::wstring& path) {
    if (DeleteFileW(path.c_str())) return true;
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return false;
    throw FileError(code);
}

bool RemoveFolderIfEmpty(const std::wstring& path) {
    if (RemoveDirectoryW(path.c_str())) return true;
    const DWORD code = GetLastError();
    if (code == ERROR_DIR_NOT_EMPTY || code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return false;
    throw FileError(code);
}

}  // namespace

std::wstring Win32FileSystem::FirstMatch(const std::wstring& path, EntryKinds kinds) {
    return requests_.Ask<std::wstring>(path, [path, kinds] { return FindFirstMatch(path, kinds); });
}

std::size_t Win32FileSystem::FirstHolding(const std::vector<std::wstring>& paths, EntryKinds kinds) {
    return requests_.FirstTrue(paths,
                               [kinds](const std::wstring& path) { return !FindFirstMatch(path, kinds).empty(); });
}

bool Win32FileSystem::MadeByAnotherUser(const std::wstring& folder) {
    try {
        return requests_.Ask<bool>(folder, [folder] { return IsUntrustedLocalFolder(folder); });
    } catch (const AppError&) {
        return true;  // late, or its drive is held: nobody vouched for it
    }
}

// Each change is one step, made only while its caller still waits.
void Win32FileSystem::MakeFolder(const std::wstring& path) {
    requests_.Change<bool>(path, [path](CommitPoint& commit) {
        if (commit.Pass() && !CreateDirectoryW(path.c_str(), nullptr)) throw FileError(GetLastError());
        return true;
    });
}

bool Win32FileSystem::RemoveFile(const std::wstring& path) {
    return requests_.Change<bool>(path, [path](CommitPoint& commit) { return commit.Pass() && RemoveOneFile(path); });
}

bool Win32FileSystem::RemoveEmptyFolder(const std::wstring& path) {
    return requests_.Change<bool>(path,
                                  [path](CommitPoint& commit) { return commit.Pass() && RemoveFolderIfEmpty(path); });
}

}  // namespace zoriza
