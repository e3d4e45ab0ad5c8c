#include "tests/memory_platform/memory_controls.h"

#include <cwctype>

#include "platform/base/error.h"
#include "platform/base/text.h"

namespace zoriza {

namespace {

// "f:\VekPro\" is shown as "F:\VekPro"; a root keeps its backslash.
std::wstring CanonicalFolder(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\') path.pop_back();
    if (path.size() == 2) path += L'\\';
    if (path.size() >= 2 && path[1] == L':') path[0] = static_cast<wchar_t>(towupper(path[0]));
    return path;
}

}  // namespace

MemoryDriveList::MemoryDriveList(std::vector<std::wstring> entries, const std::wstring& currentDrive)
    : HeadlessDriveList(std::move(entries), currentDrive) {
    OnChange(nullptr);
}

// Every change is counted, whoever handles it.
void MemoryDriveList::OnChange(EventHandler handler) {
    HeadlessDriveList::OnChange([this, handler = std::move(handler)] {
        ++changes_;
        if (handler) handler();
    });
}

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

}  // namespace zoriza
