#include "platform/headless/headless_folder_list.h"

#include <vector>

#include "platform/base/error.h"
#include "platform/base/text.h"

namespace zoriza {

namespace {

constexpr std::size_t kRootLength = 3;   // "F:\"

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool BeginsWithDrive(const std::wstring& path) {
    return path.size() >= kDriveLength && IsLetter(path[0]) && path[1] == L':';
}

// A full path as the window's list shows it, resolved as the system resolves
// one: the drive letter in upper case, "." and ".." taken away, no doubled
// backslash and no final one except at a drive's root ("f:\\VekPro\" is
// shown as "F:\VekPro").
std::wstring CanonicalFolder(const std::wstring& path) {
    std::wstring folder = Joined({DriveKey(path), L"\\"});
    for (const std::wstring& part : ResolvedPathParts(path)) {
        if (folder.size() > kRootLength) folder += L'\\';
        folder.append(part);
    }
    return folder;
}

}  // namespace

HeadlessFolderList::HeadlessFolderList(FileSystem& files, const std::wstring& startFolder) : files_(files) {
    try {
        SetPath(startFolder);
    } catch (const AppError&) {
        // A start folder that cannot be shown leaves the list without a path.
    }
}

// "F:" is the folder last shown on F: while that folder is still there (it
// may have been deleted, or the medium swapped), else its root, as in the
// window; "F:VekPro" lies below it.
std::wstring HeadlessFolderList::Resolve(const std::wstring& path) const {
    if (!BeginsWithDrive(path)) throw AppError(kPathNotFound, L"Path not found");
    if (path.size() > kDriveLength && path[kDriveLength] == L'\\') return CanonicalFolder(path);
    const auto known = driveFolders_.find(DriveKey(path));
    const bool stillThere = known != driveFolders_.end() && IsThere(known->second);
    std::wstring base = stillThere ? known->second : Joined({DriveKey(path), L"\\"});
    if (path.size() == kDriveLength) return base;
    if (base.back() != L'\\') base += L'\\';
    base.append(path, kDriveLength);
    return CanonicalFolder(base);
}

// A folder below a root always lists itself ("."), so an empty listing means
// there is no such folder; a root is there when its drive can be read.
void HeadlessFolderList::Check(const std::wstring& folder) const {
    if (folder.size() == kRootLength) {
        files_.FirstMatch(folder, EntryKinds::FoldersAndFiles);
        return;
    }
    if (files_.FirstMatch(Joined({folder, L"\\"}), EntryKinds::FoldersAndFiles).empty()) {
        throw AppError(kPathNotFound, L"Path not found");
    }
}

// Any failure to find the folder counts as its absence; reading the root
// then tells what is wrong with the drive.
bool HeadlessFolderList::IsThere(const std::wstring& folder) const {
    try {
        Check(folder);
        return true;
    } catch (const AppError&) {
        return false;
    }
}

void HeadlessFolderList::SetPath(const std::wstring& path) {
    const std::wstring folder = Resolve(path);
    Check(folder);
    path_ = folder;
    driveFolders_[DriveKey(folder)] = folder;
}

void HeadlessFolderList::Refresh() {
    if (!path_.empty()) Check(path_);
}

}  // namespace zoriza
