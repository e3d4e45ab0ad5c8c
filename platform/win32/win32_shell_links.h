#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "platform/shell_links.h"
#include "platform/win32/server_requests.h"

namespace zoriza {

// The Shell's own link object (IShellLinkW and IPersistStream), and the
// known folders of the user or of every user. Looking up a folder, reading
// and writing a shortcut are requests that may reach a server, bounded by
// `requests`: they run on the threads that carry them, which join COM
// themselves, so the calling thread needs no COM of its own.
class Win32ShellLinks : public ShellLinks {
public:
    Win32ShellLinks(ServerRequests& requests, FolderOwner owner) : requests_(requests), owner_(owner) {}

    std::wstring FolderPath(SpecialFolder folder) override;
    std::unique_ptr<ShortcutFile> CreateShortcut(const std::wstring& linkPath) override;
    std::optional<ShortcutFields> ReadShortcut(const std::wstring& linkPath) override;
    void NotifyChanged(ShellChange change, const std::wstring& path) override;

private:
    ServerRequests& requests_;
    FolderOwner owner_;
    std::uint32_t calls_ = 0;  // each shortcut's temporary file gets a name of its own
    std::set<std::wstring> sweptFolders_;  // where earlier runs' temporary files were looked for
};

}  // namespace zoriza
