#include "tests/memory_platform/memory_file_system.h"

#include "platform/base/error.h"
#include "platform/base/text.h"

namespace zoriza {

namespace {

bool Matches(bool folder, MemoryFileSystem::FileMarks marks, EntryKinds kinds) {
    if (kinds == EntryKinds::AnyFolder) return folder;
    if (marks.hidden || marks.system) return false;
    return !folder || kinds == EntryKinds::FoldersAndFiles;
}

std::wstring DriveOf(const std::wstring& key) { return key.substr(0, 2); }

}  // namespace

// Upper case, no doubled and no final backslash; a drive root is "F:".
std::wstring MemoryFileSystem::Key(const std::wstring& path) {
    std::wstring key;
    for (const wchar_t c : AsciiUpper(path)) {
        if (c == L'\\' && !key.empty() && key.back() == L'\\') continue;
        key += c;
    }
    while (!key.empty() && key.back() == L'\\') key.pop_back();
    return key;
}

std::wstring MemoryFileSystem::ParentKey(const std::wstring& key) {
    const std::size_t slash = key.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : key.substr(0, slash);
}

void MemoryFileSystem::AddDrive(const std::wstring& drive) {
    entries_[Key(drive)] = Entry{Key(drive) + L"\\", true, {}};
}

void MemoryFileSystem::SetDriveReady(const std::wstring& drive, bool ready) {
    if (ready) {
        notReady_.erase(Key(drive));
    } else {
        notReady_.insert(Key(drive));
    }
}

void MemoryFileSystem::AddFolder(const std::wstring& path) {
    const std::wstring key = Key(path);
    if (key.size() > 2) AddFolder(ParentKey(path));  // the parents keep the spelling given
    if (entries_.count(key) == 0) entries_[key] = Entry{path.substr(path.rfind(L'\\') + 1), true, {}};
}

void MemoryFileSystem::MarkFolder(const std::wstring& path, FileMarks marks) {
    AddFolder(path);
    entries_[Key(path)].marks = marks;
}

void MemoryFileSystem::AddFile(const std::wstring& path, FileMarks marks) {
    const std::wstring key = Key(path);
    AddFolder(ParentKey(path));
    entries_[key] = Entry{path.substr(path.rfind(L'\\') + 1), false, marks};
}

void MemoryFileSystem::Remove(const std::wstring& path) { entries_.erase(Key(path)); }

void MemoryFileSystem::DenyAccess(const std::wstring& path) { denied_.insert(Key(path)); }

bool MemoryFileSystem::HasDrive(const std::wstring& drive) const {
    return entries_.count(Key(drive.substr(0, 2))) != 0;
}

bool MemoryFileSystem::FolderExists(const std::wstring& path) const {
    const auto found = entries_.find(Key(path));
    return found != entries_.end() && found->second.folder;
}

void MemoryFileSystem::CheckReadable(const std::wstring& path) const {
    const std::wstring key = Key(path);
    if (notReady_.count(DriveOf(key)) != 0) throw AppError(kDeviceUnavailable, L"Device unavailable");
    for (std::wstring part = key; !part.empty(); part = ParentKey(part)) {
        if (denied_.count(part) != 0) throw AppError(kPathFileAccessError, L"Path/File access error");
    }
}

std::wstring MemoryFileSystem::FirstChild(const std::wstring& folderKey, EntryKinds kinds) const {
    // A folder below the root lists itself as "." first, with its own marks
    // (a file system need not list ".." as well, and this one does not).
    if (folderKey.size() > 2 && Matches(true, entries_.at(folderKey).marks, kinds)) return L".";
    for (const auto& [key, entry] : entries_) {
        if (ParentKey(key) == folderKey && key != folderKey && Matches(entry.folder, entry.marks, kinds)) {
            return entry.name;
        }
    }
    return {};
}

std::wstring MemoryFileSystem::FirstMatch(const std::wstring& path, EntryKinds kinds) {
    CheckReadable(path);
    const std::wstring key = Key(path);
    const auto found = entries_.find(key);
    if (found == entries_.end()) return {};
    if (!path.empty() && path.back() == L'\\') {
        return found->second.folder ? FirstChild(key, kinds) : std::wstring();
    }
    return Matches(found->second.folder, found->second.marks, kinds) ? found->second.name : std::wstring();
}

std::size_t MemoryFileSystem::FirstHolding(const std::vector<std::wstring>& paths, EntryKinds kinds) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
        try {
            if (!FirstMatch(paths[i], kinds).empty()) return i;
        } catch (const AppError&) {
            // A drive that cannot be read holds nothing.
        }
    }
    return paths.size();
}

bool MemoryFileSystem::HasChildren(const std::wstring& folderKey) const {
    for (const auto& [key, entry] : entries_) {
        if (key != folderKey && ParentKey(key) == folderKey) return true;
    }
    return false;
}

// Access is refused where it is denied, as to a file in use.
bool MemoryFileSystem::RemoveFile(const std::wstring& path) {
    CheckReadable(path);
    const auto found = entries_.find(Key(path));
    if (found == entries_.end()) return false;
    if (found->second.folder) throw AppError(kPathFileAccessError, L"Path/File access error");
    entries_.erase(found);
    return true;
}

bool MemoryFileSystem::RemoveEmptyFolder(const std::wstring& path) {
    CheckReadable(path);
    const std::wstring key = Key(path);
    const auto found = entries_.find(key);
    if (found == entries_.end() || HasChildren(key)) return false;
    if (!found->second.folder) throw AppError(kPathFileAccessError, L"Path/File access error");
    entries_.erase(found);
    return true;
}

void MemoryFileSystem::MakeFolder(const std::wstring& path) {
    CheckReadable(path);
    const std::wstring key = Key(path);
    if (entries_.count(key) != 0) throw AppError(kPathFileAccessError, L"Path/File access error");
    if (!FolderExists(ParentKey(key))) throw AppError(kPathNotFound, L"Path not found");
    const std::wstring trimmed = path.substr(0, path.find_last_not_of(L'\\') + 1);
    entries_[key] = Entry{trimmed.substr(trimmed.rfind(L'\\') + 1), true, {}};
    ++foldersMade_;
}

}  // namespace zoriza
