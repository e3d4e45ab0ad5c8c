// The list boxes, the drive list and the folder list.
#include <algorithm>

#include "platform/text.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_error.h"

namespace zoriza {

namespace {

constexpr std::size_t kDriveLength = 2;  // "F:"
constexpr wchar_t kIndent[] = L"  ";

[[noreturn]] void ThrowInvalidProperty() { throw AppError(kInvalidPropertyValue, L"Invalid property value"); }

std::wstring ItemText(HWND list, UINT lengthMessage, UINT textMessage, int index) {
    const LRESULT length = SendMessageW(list, lengthMessage, static_cast<WPARAM>(index), 0);
    if (length < 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::wstring DriveKey(const std::wstring& text) { return AsciiUpper(text.substr(0, kDriveLength)); }

std::wstring DriveLabel(const std::wstring& root) {
    const UINT type = GetDriveTypeW(root.c_str());
    if (type != DRIVE_FIXED && type != DRIVE_REMOTE && type != DRIVE_RAMDISK) return {};
    wchar_t label[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) {
        return {};
    }
    return label;
}

// "c: [System]", or "c:" for a drive without a label or one that is not probed.
std::wstring DriveEntry(const std::wstring& root) {
    std::wstring entry = {static_cast<wchar_t>(towlower(root[0])), L':'};
    const std::wstring label = DriveLabel(root);
    if (!label.empty()) entry += L" [" + label + L"]";
    return entry;
}

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

// The visible subfolders, sorted as Explorer sorts them; throws when the
// folder cannot be read.
std::vector<std::wstring> Subfolders(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileExW(ChildPath(folder, L"*").c_str(), FindExInfoBasic, &entry,
                                         FindExSearchLimitToDirectories, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) {
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
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    });
    return names;
}

}  // namespace

std::int16_t Win32ListBox::ListCount() const {
    return static_cast<std::int16_t>(SendMessageW(handle_, LB_GETCOUNT, 0, 0));
}

void Win32ListBox::CheckIndex(std::int16_t index) const {
    if (index < 0 || index >= ListCount()) ThrowInvalidProperty();
}

std::wstring Win32ListBox::List(std::int16_t index) const {
    CheckIndex(index);
    return ItemText(handle_, LB_GETTEXTLEN, LB_GETTEXT, index);
}

void Win32ListBox::SetList(std::int16_t index, const std::wstring& text) {
    CheckIndex(index);
    const std::int16_t selected = ListIndex();
    const LRESULT top = SendMessageW(handle_, LB_GETTOPINDEX, 0, 0);
    SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(handle_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageW(handle_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    if (selected == index) SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(handle_, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
}

std::int16_t Win32ListBox::ListIndex() const {
    return static_cast<std::int16_t>(SendMessageW(handle_, LB_GETCURSEL, 0, 0));
}

// LB_SETCURSEL does not notify: the click event is raised here, as a user's
// selection raises it.
void Win32ListBox::SetListIndex(std::int16_t index) {
    CheckIndex(index);
    if (index == ListIndex()) return;
    SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (onClick_) onClick_();
}

std::wstring Win32ListBox::Text() const {
    const std::int16_t index = ListIndex();
    return index < 0 ? std::wstring() : ItemText(handle_, LB_GETTEXTLEN, LB_GETTEXT, index);
}

Win32DriveList::Win32DriveList(HWND handle) : handle_(handle) {
    const DWORD length = GetLogicalDriveStringsW(0, nullptr);
    std::wstring roots(length, L'\0');
    GetLogicalDriveStringsW(length, roots.data());
    for (const wchar_t* root = roots.c_str(); *root != L'\0'; root += wcslen(root) + 1) {
        const std::wstring entry = DriveEntry(root);
        SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    const int index = IndexOf(current);
    SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(std::max(index, 0)), 0);
}

std::int16_t Win32DriveList::ListCount() const {
    return static_cast<std::int16_t>(SendMessageW(handle_, CB_GETCOUNT, 0, 0));
}

std::wstring Win32DriveList::List(std::int16_t index) const {
    if (index < 0 || index >= ListCount()) ThrowInvalidProperty();
    return ItemText(handle_, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

std::wstring Win32DriveList::Drive() const {
    const LRESULT index = SendMessageW(handle_, CB_GETCURSEL, 0, 0);
    return index < 0 ? std::wstring() : ItemText(handle_, CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<int>(index));
}

int Win32DriveList::IndexOf(const std::wstring& text) const {
    for (std::int16_t i = 0; i < ListCount(); ++i) {
        if (DriveKey(List(i)) == DriveKey(text)) return i;
    }
    return -1;
}

void Win32DriveList::SetDrive(const std::wstring& text) {
    const int index = IndexOf(text);
    if (index < 0) throw AppError(kDeviceUnavailable, L"Device unavailable");
    if (index == SendMessageW(handle_, CB_GETCURSEL, 0, 0)) return;
    SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (onChange_) onChange_();
}

void Win32DriveList::ShowDrive(const std::wstring& text) {
    const int index = IndexOf(text);
    if (index >= 0) SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

Win32FolderList::Win32FolderList(HWND handle) : handle_(handle) {
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    try {
        SetPath(current);
    } catch (const AppError&) {
        // A current folder that cannot be read leaves the list empty.
    }
}

// A bare drive ("F:") is the folder last shown on it, or its current folder.
std::wstring Win32FolderList::Resolve(const std::wstring& path) const {
    if (path.size() == kDriveLength && path[1] == L':') {
        const auto known = driveFolders_.find(DriveKey(path));
        if (known != driveFolders_.end()) return known->second;
    }
    const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0) throw FileError(GetLastError());
    std::wstring full(length, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), length, full.data(), nullptr));
    return CanonicalFolder(full);
}

void Win32FolderList::SetPath(const std::wstring& path) {
    const std::wstring folder = Resolve(path);
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) throw FileError(GetLastError());
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) throw FileError(ERROR_PATH_NOT_FOUND);
    Fill(folder, Subfolders(folder));
    path_ = folder;
    driveFolders_[DriveKey(folder)] = folder;
}

void Win32FolderList::Refresh() { Fill(path_, Subfolders(path_)); }

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
