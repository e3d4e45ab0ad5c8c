#pragma once

#include <cstdint>

#include "platform/shell_links.h"

namespace zoriza {

// The Shell's own link object (IShellLinkW, IPersistFile and IPersistStream)
// and the user's known folders. COM must be initialised on the calling thread.
class Win32ShellLinks : public ShellLinks {
public:
    std::wstring FolderPath(SpecialFolder folder) override;
    std::unique_ptr<ShortcutFile> CreateShortcut(const std::wstring& linkPath) override;
    std::wstring TargetOf(const std::wstring& linkPath) override;
    void NotifyChanged(ShellChange change, const std::wstring& path) override;

private:
    std::uint32_t calls_ = 0;  // each shortcut's temporary file gets a name of its own
};

}  // namespace zoriza
