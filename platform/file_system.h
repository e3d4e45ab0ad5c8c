// The file system as the handlers need it: the first entry matching a path,
// the creation of one folder, and the removal of a file or an empty folder.
#pragma once

#include <string>
#include <vector>

namespace zoriza {

enum class EntryKinds {
    NormalFiles,     // files that are neither hidden, system nor folders
    FoldersAndFiles,  // the same, and folders
    AnyFolder         // a folder, hidden and system ones too
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Name of the first entry matching `path` among `kinds`, or empty when there
    // is none. A path ending in "\" lists that folder's contents. Throws when
    // the drive or folder cannot be read (not ready, access denied, ...).
    virtual std::wstring FirstMatch(const std::wstring& path, EntryKinds kinds) = 0;
    // The index of the first of `paths` with an entry among `kinds`, or
    // paths.size() when none has one. A path whose drive cannot be read, or
    // that has not answered when the bound runs out, has none; one that
    // answers within the bound counts, however late within it. The paths may
    // be looked up at once.
    virtual std::size_t FirstHolding(const std::vector<std::wstring>& paths, EntryKinds kinds) = 0;
    // Whether `folder` is one the scan must not take: on a local fixed disk
    // (where any signed-in user may make folders at the root) and owned by
    // another account that is not an administrator, or by an owner that
    // cannot be read. The user's own folders, and those of the Administrators
    // group, SYSTEM and TrustedInstaller, are trusted; so is any folder on
    // another kind of drive, whose server decides who writes there.
    virtual bool MadeByAnotherUser(const std::wstring& folder) = 0;
    // Creates one folder; its parent must exist. Throws on failure.
    virtual void MakeFolder(const std::wstring& path) = 0;
    // Removes one file; false when there is nothing at `path`. Throws when the
    // file is there but cannot be removed (in use, read-only, a folder, ...).
    virtual bool RemoveFile(const std::wstring& path) = 0;
    // Removes a folder that holds nothing at all, hidden files included; false
    // when it is not empty or not there. Throws on any other failure.
    virtual bool RemoveEmptyFolder(const std::wstring& path) = 0;
};

}  // namespace zoriza
