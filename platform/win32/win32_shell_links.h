#pragma once

#include "platform/shell_links.h"

namespace zoriza {

// The Shell's own link object (IShellLinkW and IPersistFile) and the user's
// known folders. COM must be initialised on the calling thread.
class Win32ShellLinks : public ShellLinks {
public:
    std::wstring FolderPath(SpecialFolder folder) override;
    std::unique_ptr<ShortcutFile> CreateShortcut(const std::wstring& linkPath) override;
    std::wstring TargetOf(const std::wstring& linkPath) override;
    void NotifyChanged(ShellChange change, const std::wstring& path) override;
};

}  // namespace zoriza
