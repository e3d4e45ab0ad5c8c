// A file system held in memory: drives, folders and files with the hidden and
// system marks, drives that are not ready and paths that refuse access.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace zoriza {

class MemoryFileSystem : public FileSystem {
public:
    struct FileMarks {
        bool hidden = false;
        bool system = false;
    };

    void AddDrive(const std::wstring& drive);  // "F:"
    void SetDriveReady(const std::wstring& drive, bool ready);
    void AddFolder(const std::wstring& path);  // with every folder above it
    void MarkFolder(const std::wstring& path, FileMarks marks);
    void AddFile(const std::wstring& path) { AddFile(path, FileMarks{false, false}); }
    void AddFile(const std::wstring& path, FileMarks marks);
    void Remove(const std::wstring& path);
    void DenyAccess(const std::wstring& path);
    // The folder's owner is another account that is not an administrator.
    void MarkMadeByAnotherUser(const std::wstring& folder) { madeByAnotherUser_.insert(Key(folder)); }

    bool HasDrive(const std::wstring& drive) const;
    bool FolderExists(const std::wstring& path) const;
    // Throws as the system would when `path` is on a drive that cannot be read.
    void CheckReadable(const std::wstring& path) const;
    int FoldersMade() const { return foldersMade_; }

    std::wstring FirstMatch(const std::wstring& path, EntryKinds kinds) override;
    std::size_t FirstHolding(const std::vector<std::wstring>& paths, EntryKinds kinds) override;
    bool MadeByAnotherUser(const std::wstring& folder) override { return madeByAnotherUser_.count(Key(folder)) != 0; }
    void MakeFolder(const std::wstring& path) override;
    bool RemoveFile(const std::wstring& path) override;
    bool RemoveEmptyFolder(const std::wstring& path) override;

private:
    struct Entry {
        std::wstring name;
        bool folder = false;
        FileMarks marks;
    };

    static std::wstring Key(const std::wstring& path);
    static std::wstring ParentKey(const std::wstring& key);
    std::wstring FirstChild(const std::wstring& folderKey, EntryKinds kinds) const;
    bool HasChildren(const std::wstring& folderKey) const;

    std::map<std::wstring, Entry> entries_;  // by upper-case path
    std::set<std::wstring> notReady_;
    std::set<std::wstring> denied_;
    std::set<std::wstring> madeByAnotherUser_;
    int foldersMade_ = 0;
};

}  // namespace zoriza
