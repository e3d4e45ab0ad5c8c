// Removing a shortcut that MakeShortcut wrote: found by the same folder and
// name, read for its target first, and the shell told.
#include "platform/base/error.h"
#include "platform/base/text.h"
#include "platform/file_system.h"
#include "platform/shell_links.h"
#include "shortcuts/shortcuts.h"

namespace zoriza {

RemovedShortcut RemoveShortcut(ShellLinks& shell, FileSystem& files, const std::wstring& location,
                               const std::wstring& linkName) {
    RemovedShortcut shortcut;
    shortcut.linkPath = Joined({shell.FolderPath(LocationFolder(location)), L"\\", linkName, L".lnk"});
    shortcut.target = shell.TargetOf(shortcut.linkPath);
    try {
        shortcut.removed = files.RemoveFile(shortcut.linkPath);
    } catch (const AppError& error) {
        throw error.WithContext(shortcut.linkPath);
    }
    if (shortcut.removed) shell.NotifyChanged(ShellChange::ItemDeleted, shortcut.linkPath);
    return shortcut;
}

}  // namespace zoriza
