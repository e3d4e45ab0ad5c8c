#include "platform/file_system.h"
#include "platform/shell_links.h"
#include "platform/base/error.h"
#include "platform/base/text.h"
#include "shortcuts/shortcuts.h"

namespace zoriza {

std::int16_t MaximizeWindow = kFalse;

namespace {

// A drive root such as "F:\" keeps its backslash.
constexpr std::size_t kDriveRootLength = 3;

// A folder of that name counts as there whatever its marks: a hidden or
// system Programs\VekPro is no missing folder.
bool FolderIsThere(FileSystem& files, const std::wstring& folder) {
    return !files.FirstMatch(WithoutFinalBackslash(folder), EntryKinds::AnyFolder).empty();
}

// A drive's root ("H:\"), where a Desktop or Programs folder may be
// redirected: no lookup finds it as a folder, and it cannot be made.
bool IsDriveRoot(const std::wstring& folder) {
    return folder.size() == kDriveRootLength && folder[1] == L':' && folder[2] == L'\\';
}

// Another run may make the subfolder between the look and the making: a
// folder that is there then is no failure, whoever made it.
void MakeSubfolder(ShellLinks& shell, FileSystem& files, const std::wstring& subfolder) {
    if (SubfolderIsThere(files, subfolder)) return;
    try {
        files.MakeFolder(subfolder);
    } catch (const AppError&) {
        if (FolderIsThere(files, subfolder)) return;
        throw;
    }
    shell.NotifyChanged(ShellChange::FolderCreated, subfolder.substr(0, subfolder.size() - 1));
}

// The paths of one shortcut in the special folder `folder`.
ShortcutPaths PathsIn(const std::wstring& folder, const std::wstring& target, const std::wstring& linkName,
                      const std::wstring& iconPath) {
    const std::wstring workingFolder = WorkingFolderOf(target);
    return {folder + L"\\" + linkName + L".lnk", target, workingFolder, workingFolder + L"\\" + iconPath,
            folder + L"\\" + SubfolderPartOf(linkName)};
}

}  // namespace

std::wstring WorkingFolderOf(const std::wstring& target) {
    const std::size_t slash = target.rfind(L'\\');
    if (slash == std::wstring::npos) return {};
    std::wstring folder = target.substr(0, slash + 1);
    if (folder.size() > kDriveRootLength) folder.pop_back();
    return folder;
}

std::wstring SubfolderPartOf(const std::wstring& linkName) {
    const std::size_t slash = linkName.find(L'\\');
    return slash == std::wstring::npos ? std::wstring() : linkName.substr(0, slash + 1);
}

// A drive root is taken as there: a drive that is not, the save reports.
bool SubfolderIsThere(FileSystem& files, const std::wstring& subfolder) {
    return IsDriveRoot(subfolder) || FolderIsThere(files, subfolder);
}

ShortcutFields FieldsOfShortcut(const ShortcutPaths& paths, const std::wstring& linkArgs,
                                const std::wstring& appUserModelId) {
    ShortcutFields fields;
    fields.target = paths.target;
    fields.showCommand = MaximizeWindow != kFalse ? kShowMaximized : kShowNormal;
    fields.iconLocation = paths.iconLocation;
    fields.arguments = linkArgs;
    fields.workingDirectory = paths.workingFolder;
    fields.appUserModelId = appUserModelId;
    return fields;
}

SpecialFolder LocationFolder(const std::wstring& location) {
    return AsciiUpper(location) == L"DESKTOP" ? SpecialFolder::Desktop : SpecialFolder::Programs;
}

ShortcutPaths PathsOfShortcut(ShellLinks& shell, const std::wstring& location, const std::wstring& target,
                              const std::wstring& linkName, const std::wstring& iconPath) {
    return PathsIn(shell.FolderPath(LocationFolder(location)), target, linkName, iconPath);
}

std::wstring PathTooLong(const ShortcutPaths& paths) {
    for (const std::wstring* path : {&paths.link, &paths.target, &paths.workingFolder, &paths.iconLocation}) {
        if (path->size() > kLongestWindowsPath) return *path;
    }
    return {};
}

MadeShortcut MakeShortcut(ShellLinks& shell, FileSystem& files, const std::wstring& location,
                          const std::wstring& target, const std::wstring& linkName,
                          const std::wstring& iconPath, const std::wstring& linkArgs,
                          const std::wstring& appUserModelId) {
    // The folder is looked up once: with a redirected one, each look may reach a server.
    const ShortcutPaths paths = PathsOfShortcut(shell, location, target, linkName, iconPath);
    MakeSubfolder(shell, files, paths.subfolder);

    const std::wstring& linkPath = paths.link;
    const bool rewritten = !files.FirstMatch(linkPath, EntryKinds::FoldersAndFiles).empty();
    const ShortcutFields fields = FieldsOfShortcut(paths, linkArgs, appUserModelId);
    const auto shortcut = shell.CreateShortcut(linkPath);
    shortcut->SetTargetPath(fields.target);
    shortcut->SetWindowStyle(fields.showCommand);
    shortcut->SetHotkey(L"");
    shortcut->SetIconLocation(fields.iconLocation);
    shortcut->SetDescription(fields.description);
    shortcut->SetArguments(fields.arguments);
    shortcut->SetWorkingDirectory(fields.workingDirectory);
    shortcut->SetAppUserModelId(fields.appUserModelId);
    if (!shortcut->Save()) return {linkPath, true};
    shell.NotifyChanged(rewritten ? ShellChange::ItemUpdated : ShellChange::ItemCreated, linkPath);
    return {linkPath, false};
}

}  // namespace zoriza
