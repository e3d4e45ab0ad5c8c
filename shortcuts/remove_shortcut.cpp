// Removing a shortcut that MakeShortcut wrote: found by the same folder and
// name, read for its target first, and the shell told.
#include <optional>

#include "platform/base/error.h"
#include "platform/base/text.h"
#include "platform/file_system.h"
#include "platform/shell_links.h"
#include "shortcuts/shortcuts.h"

namespace zoriza {

RemovedShortcut RemoveShortcut(ShellLinks& shell, FileSystem& files, const std::wstring& location,
                               const std::wstring& linkName, const std::function<bool(const std::wstring&)>& ours) {
    RemovedShortcut shortcut;
    shortcut.linkPath = Joined({shell.FolderPath(LocationFolder(location)), L"\\", linkName, L".lnk"});
    try {
        const std::optional<ShortcutFields> fields = shell.ReadShortcut(shortcut.linkPath);
        if (fields) shortcut.target = fields->target;
        if (!fields || !ours(shortcut.target)) {
            shortcut.kept = !files.FirstMatch(shortcut.linkPath, EntryKinds::FoldersAndFiles).empty();
            return shortcut;
        }
        shortcut.removed = files.RemoveFile(shortcut.linkPath);
    } catch (const AppError& error) {
        throw error.WithContext(shortcut.linkPath);
    }
    if (shortcut.removed) shell.NotifyChanged(ShellChange::ItemDeleted, shortcut.linkPath);
    return shortcut;
}

}  // namespace zoriza
