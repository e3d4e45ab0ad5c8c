#pragma once

#include "platform/file_system.h"
#include "platform/win32/server_requests.h"

namespace zoriza {

// The file system on Win32. Every request may reach a server, so each is
// bounded by `requests`.
class Win32FileSystem : public FileSystem {
public:
    explicit Win32FileSystem(ServerRequests& requests) : requests_(requests) {}
    std::wstring FirstMatch(const std::wstring& path, EntryKinds kinds) override;
    std::size_t FirstHolding(const std::vector<std::wstring>& paths, EntryKinds kinds) override;
    bool MadeByAnotherUser(const std::wstring& folder) override;
    void MakeFolder(const std::wstring& path) override;
    bool RemoveFile(const std::wstring& path) override;
    bool RemoveEmptyFolder(const std::wstring& path) override;

private:
    ServerRequests& requests_;
};

}  // namespace zoriza
