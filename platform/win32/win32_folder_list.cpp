// The folder list: the path from the drive's root to the current folder, then
// its subfolders, indented.
#include <algorithm>

#include "platform/base/text.h"
#include "platform/win32/current_folder.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_error.h"

namespace zoriza {

namespace {

constexpr wchar_t kIndent[] = L"  ";

// A full path as the folder list shows it: the drive letter in upper case and
// no final backslash except at a drive's root.
std::wstring CanonicalFolder(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\') path.pop_back();
    if (path.size() >= 2 && path[1] == L':') path[0] = static_cast<wchar_t>(towupper(path[0]));
    return path;
}

std::wstring ChildPath(const std::wstring& folder, const std::wstring& name) {
    return folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

// The folders from the drive's root down to `folder`, root first.
std::vector<std::wstring> PathFromRoot(const std::wstring& folder) {
    std::vector<std::wstring> chain;
    std::wstring path = folder;
    while (path.size() > 3) {
        chain.push_back(path);
        path = path.substr(0, std::max<std::size_t>(path.rfind(L'\\'), 2));
        if (path.size() == 2) path += L'\\';
    }
    chain.push_back(path);
    std::reverse(chain.begin(), chain.end());
    return chain;
}

std::wstring LastPart(const std::wstring& path) {
    return path.size() <= 3 ? path : path.substr(path.rfind(L'\\') + 1);
}

// The visible subfolders, by name with case ignored (an ordinal comparison,
// not a locale's); throws when the folder cannot be read, whole.
std::vector<std::wstring> Subfolders(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    const UniqueFindHandle find(FindFirstFileExW(ChildPath(folder, L"*").c_str(), FindExInfoBasic, &entry,
                                                 FindExSearchLimitToDirectories, nullptr, 0));
    if (!find) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES) return {};
        throw FileError(code);
    }
    std::vector<std::wstring> names;
    do {
        const std::wstring name = entry.cFileName;
        const DWORD hiddenOrSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(entry.dwFileAttributes & hiddenOrSystem) &&
            name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (FindNextFileW(find.get(), &entry));
    // A listing that broke off part-way is no shorter list: it is an error.
    if (const DWORD code = GetLastError(); code != ERROR_NO_MORE_FILES) throw FileError(code);
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    });
    return names;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

Win32FolderList::Win32FolderList(HWND handle, ServerRequests& requests) : handle_(handle), requests_(requests) {
    try {
        SetPath(CurrentFolder());
    } catch (const AppError&) {
        // A current folder that cannot be read leaves the list empty.
    }
}

// A bare drive ("F:") is the folder last shown on it while that folder is
// still there (it may have been deleted, or the medium swapped), else the
// drive's root; a drive not shown before is its current folder.
std::wstring Win32FolderList::Resolve(const std::wstring& path) const {
    if (path.size() == kDriveLength && path[1] == L':') {
        const auto known = driveFolders_.find(DriveKey(path));
        if (known != driveFolders_.end()) {
            const std::wstring folder = known->second;
            const bool there = requests_.Ask<bool>(folder, [folder] { return IsFolder(folder); });
            return there ? folder : DriveKey(path) + L"\\";
        }
    }
    const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0) throw FileError(GetLastError());
    std::wstring full(length, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), length, full.data(), nullptr));
    return CanonicalFolder(full);
}

// The subfolders of `folder`; throws when it is not a folder or cannot be read.
std::vector<std::wstring> Win32FolderList::ReadFolder(const std::wstring& folder) const {
    return requests_.Ask<std::vector<std::wstring>>(folder, [folder] {
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) throw FileError(GetLastError());
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) throw FileError(ERROR_PATH_NOT_FOUND);
        return Subfolders(folder);
    });
}

void Win32FolderList::SetPath(const std::wstring& path) {
    const std::wstring folder = Resolve(path);
    Fill(folder, ReadFolder(folder));
    path_ = folder;
    driveFolders_[DriveKey(folder)] = folder;
}

void Win32FolderList::Refresh() { Fill(path_, ReadFolder(path_)); }

void Win32FolderList::Fill(const std::wstring& folder, const std::vector<std::wstring>& subfolders) {
    SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(handle_, LB_RESETCONTENT, 0, 0);
    entryPaths_.clear();
    std::wstring indent;
    for (const std::wstring& step : PathFromRoot(folder)) {
        const std::wstring text = indent + LastPart(step);
        SendMessageW(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        entryPaths_.push_back(step);
        indent += kIndent;
    }
    currentEntry_ = entryPaths_.size() - 1;
    for (const std::wstring& name : subfolders) {
        const std::wstring text = indent + name;
        SendMessageW(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        entryPaths_.push_back(ChildPath(folder, name));
    }
    SendMessageW(handle_, LB_SETCURSEL, currentEntry_, 0);
    ScrollToPath();
    SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
}

// Keeps the path from the root in view, as far as the current folder and its
// first subfolder allow.
void Win32FolderList::ScrollToPath() {
    const auto current = static_cast<LRESULT>(currentEntry_);
    RECT client{};
    GetClientRect(handle_, &client);
    const LRESULT lineHeight = std::max<LRESULT>(SendMessageW(handle_, LB_GETITEMHEIGHT, 0, 0), 1);
    const LRESULT visibleLines = std::max<LRESULT>(client.bottom / lineHeight, 1);
    const LRESULT top = std::max<LRESULT>(current + 2 - visibleLines, 0);
    SendMessageW(handle_, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
}

void Win32FolderList::OpenSelected() {
    const LRESULT index = SendMessageW(handle_, LB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= entryPaths_.size()) return;
    SetPath(entryPaths_[static_cast<std::size_t>(index)]);
}

}  // namespace zoriza
