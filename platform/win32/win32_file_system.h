#pragma once

#include "platform/file_system.h"

namespace zoriza {

class Win32FileSystem : public FileSystem {
public:
    std::wstring FirstMatch(const std::wstring& path, EntryKinds kinds) override;
    void MakeFolder(const std::wstring& path) override;
    bool RemoveFile(const std::wstring& path) override;
    bool RemoveEmptyFolder(const std::wstring& path) override;
};

}  // namespace zoriza
