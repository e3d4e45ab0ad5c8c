#include "platform/memory/memory_controls.h"

#include <cwctype>

#include "platform/base/error.h"
#include "platform/base/text.h"

namespace zoriza {

namespace {

[[noreturn]] void ThrowInvalidProperty() {
    throw AppError(kInvalidPropertyValue, L"Invalid property value");
}

std::wstring DriveKey(const std::wstring& text) { return AsciiUpper(text.substr(0, 2)); }

// "f:\VekPro\" is shown as "F:\VekPro"; a root keeps its backslash.
std::wstring CanonicalFolder(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\') path.pop_back();
    if (path.size() == 2) path += L'\\';
    if (path.size() >= 2 && path[1] == L':') path[0] = static_cast<wchar_t>(towupper(path[0]));
    return path;
}

}  // namespace

std::wstring MemoryListBox::List(std::int16_t index) const {
    if (index < 0 || index >= ListCount()) ThrowInvalidProperty();
    return entries_[static_cast<std::size_t>(index)];
}

void MemoryListBox::SetList(std::int16_t index, const std::wstring& text) {
    if (index < 0 || index >= ListCount()) ThrowInvalidProperty();
    entries_[static_cast<std::size_t>(index)] = text;
}

void MemoryListBox::SetListIndex(std::int16_t index) {
    if (index < 0 || index >= ListCount()) ThrowInvalidProperty();
    if (index == index_) return;
    index_ = index;
    if (onClick_) onClick_();
}

std::wstring MemoryListBox::Text() const {
    return index_ < 0 ? std::wstring() : entries_[static_cast<std::size_t>(index_)];
}

std::size_t MemoryOptionGroup::Checked(std::int16_t index) {
    if (index < 0 || index > 2) {
        throw AppError(kControlArrayElementMissing, L"Control array element does not exist");
    }
    return static_cast<std::size_t>(index);
}

void MemoryCheckBox::SetValue(std::int16_t value) {
    if (value != kCleared && value != kChecked && value != kGreyed) ThrowInvalidProperty();
    value_ = value;
}

MemoryDriveList::MemoryDriveList(std::vector<std::wstring> entries, const std::wstring& currentDrive)
    : entries_(std::move(entries)) {
    if (!entries_.empty()) index_ = IndexOf(currentDrive);
}

std::wstring MemoryDriveList::List(std::int16_t index) const {
    if (index < 0 || index >= ListCount()) ThrowInvalidProperty();
    return entries_[static_cast<std::size_t>(index)];
}

std::size_t MemoryDriveList::IndexOf(const std::wstring& text) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (DriveKey(entries_[i]) == DriveKey(text)) return i;
    }
    throw AppError(kDeviceUnavailable, L"Device unavailable");
}

void MemoryDriveList::SetDrive(const std::wstring& text) {
    const std::size_t index = IndexOf(text);
    if (index == index_) return;
    index_ = index;
    ++changes_;
    if (onChange_) onChange_();
}

void MemoryDriveList::ShowDrive(const std::wstring& text) { index_ = IndexOf(text); }

MemoryFolderList::MemoryFolderList(const MemoryFileSystem& files, std::wstring path)
    : files_(files), path_(CanonicalFolder(std::move(path))) {}

void MemoryFolderList::SetDriveFolder(const std::wstring& drive, const std::wstring& folder) {
    driveFolders_[DriveKey(drive)] = folder;
}

void MemoryFolderList::SetPath(const std::wstring& path) {
    std::wstring folder = path;
    if (path.size() == 2 && path[1] == L':') {
        const auto known = driveFolders_.find(DriveKey(path));
        const bool stillThere = known != driveFolders_.end() && files_.FolderExists(known->second);
        folder = stillThere ? known->second : path + L"\\";
    }
    if (!files_.HasDrive(folder)) throw AppError(kDeviceUnavailable, L"Device unavailable");
    files_.CheckReadable(folder);
    if (!files_.FolderExists(folder)) throw AppError(kPathNotFound, L"Path not found");
    path_ = CanonicalFolder(folder);
    driveFolders_[DriveKey(folder)] = path_;
}

void MemoryWindow::ShowMessage(const std::wstring& text, const std::wstring& title, MessageIcon icon) {
    messages_.push_back({text, title, icon});
}

void MemoryWindow::SetBusy(bool busy) {
    if (busy && !busy_) ++busyPeriods_;
    busy_ = busy;
}

}  // namespace zoriza
