#pragma once

#include "platform/file_system.h"

namespace zoriza {

class Win32FileSystem : public FileSystem {
public:
    std::wstring FirstMatch(const std::wstring& path, EntryKinds kinds) override;
    void MakeFolder(const std::wstring& path) override;
};

}  // namespace zoriza
