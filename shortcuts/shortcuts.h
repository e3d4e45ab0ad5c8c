// Where an edition is started from, and the writer of one shortcut file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace zoriza {

class FileSystem;
class ShellLinks;
enum class SpecialFolder;
struct ShortcutFields;

inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

// Whether the next shortcut opens its program maximised; any non-zero value
// is true. Set by the create command before each shortcut, read by MakeShortcut.
extern std::int16_t MaximizeWindow;

struct LaunchTarget {
    std::wstring AppCode;    // "VekPro", ... or empty when no edition is selected
    std::wstring ServerDir;  // the folder list's path with one final "\"
    std::wstring BatchFile;  // the launcher batch file's name
    std::wstring BinFolder;  // "BIN16" or "BIN"
};

// From the window's current choices: the edition list's index, the folder
// list's path and whether the "16 bit" option is selected.
LaunchTarget ResolveLaunchTarget(std::int16_t editionIndex, const std::wstring& folderPath,
                                 bool sixteenBit);

// What MakeShortcut did with one shortcut.
struct MadeShortcut {
    std::wstring linkPath;   // the shortcut file's full path
    bool unchanged = false;  // it already held every field, and was left as it was
};

// Writes the shortcut `linkName`.lnk on the Desktop (a `location` of "Desktop"
// in any case) or in Programs (anything else), creating the one subfolder level
// that `linkName` may begin with, and tells the shell what it created or
// changed; the shortcut carries `appUserModelId` besides its seven fields
// (none when empty). Errors reach the caller unchanged.
MadeShortcut MakeShortcut(ShellLinks& shell, FileSystem& files, const std::wstring& location,
                          const std::wstring& target, const std::wstring& linkName,
                          const std::wstring& iconPath, const std::wstring& linkArgs,
                          const std::wstring& appUserModelId);

// Removes the shortcut that MakeShortcut would write with `location` and
// `linkName` when `ours` says its target is one MakeShortcut writes, and
// tells the shell. A file of that name that points elsewhere, or is no
// shortcut, is kept. Throws when it cannot be read or removed, with its path
// as the context, and when its folder cannot be looked up, as the lookup
// threw (there is no path yet to name).
struct RemovedShortcut {
    std::wstring linkPath;
    std::wstring target;  // what it points to, when it is a shortcut
    bool removed = false;
    bool kept = false;  // there, and not ours
};
RemovedShortcut RemoveShortcut(ShellLinks& shell, FileSystem& files, const std::wstring& location,
                               const std::wstring& linkName, const std::function<bool(const std::wstring&)>& ours);

// The special folder a location names: the Desktop for "Desktop" in any case,
// else Programs.
SpecialFolder LocationFolder(const std::wstring& location);

// Every path one shortcut needs, as MakeShortcut works them out.
struct ShortcutPaths {
    std::wstring link;  // the .lnk file
    std::wstring target;
    std::wstring workingFolder;
    std::wstring iconLocation;
    // The folder the link goes in, with a final "\": the special folder, or
    // the one subfolder level its name begins with.
    std::wstring subfolder{};
};
ShortcutPaths PathsOfShortcut(ShellLinks& shell, const std::wstring& location, const std::wstring& target,
                              const std::wstring& linkName, const std::wstring& iconPath);

// The longest path Windows takes everywhere: MAX_PATH less its terminator.
inline constexpr std::size_t kLongestWindowsPath = 259;

// The first of the paths that would not fit, or empty when all fit.
std::wstring PathTooLong(const ShortcutPaths& paths);

// The fields MakeShortcut gives the shortcut with these paths; the window
// style follows MaximizeWindow.
ShortcutFields FieldsOfShortcut(const ShortcutPaths& paths, const std::wstring& linkArgs,
                                const std::wstring& appUserModelId);

// Whether the shortcut's subfolder is there for it to go in, whatever its marks.
bool SubfolderIsThere(FileSystem& files, const std::wstring& subfolder);

// The pieces MakeShortcut derives from its arguments.
std::wstring WorkingFolderOf(const std::wstring& target);
std::wstring SubfolderPartOf(const std::wstring& linkName);

}  // namespace zoriza
