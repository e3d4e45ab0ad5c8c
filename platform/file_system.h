// The file system as the handlers need it: the first entry matching a path,
// and the creation of one folder.
#pragma once

#include <string>

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
    // Creates one folder; its parent must exist. Throws on failure.
    virtual void MakeFolder(const std::wstring& path) = 0;
};

}  // namespace zoriza
