// The Shell's shortcut objects: the user's special folders, one .lnk file
// with its seven fields, and the notices that make the shell show a change.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/base/error.h"

namespace zoriza {

enum class SpecialFolder { Desktop, Programs };

enum ShowCommand : std::int16_t { kShowNormal = 1, kShowMaximized = 3 };

enum class ShellChange { ItemCreated, ItemUpdated, ItemDeleted, FolderCreated, FolderRemoved };

// What one shortcut holds, as its file holds it.
struct ShortcutFields {
    std::wstring target;
    std::int16_t showCommand = kShowNormal;
    std::uint16_t hotkey = 0;  // the key and its modifiers; 0 for none
    std::wstring iconLocation;
    int iconIndex = 0;  // which icon of that file
    std::wstring description;
    std::wstring arguments;
    std::wstring workingDirectory;
    // The ID by which the Start menu tells this shortcut from others to the
    // same target; empty for none.
    std::wstring appUserModelId;

    bool operator==(const ShortcutFields&) const = default;
};

class ShortcutFile {
public:
    virtual ~ShortcutFile() = default;
    virtual void SetTargetPath(const std::wstring& path) = 0;
    virtual void SetWindowStyle(std::int16_t showCommand) = 0;
    virtual void SetHotkey(const std::wstring& hotkey) = 0;
    virtual void SetIconLocation(const std::wstring& location) = 0;
    virtual void SetDescription(const std::wstring& description) = 0;
    virtual void SetArguments(const std::wstring& arguments) = 0;
    virtual void SetWorkingDirectory(const std::wstring& folder) = 0;
    virtual void SetAppUserModelId(const std::wstring& id) = 0;
    // Writes the shortcut; false, and nothing written, when the file already
    // held exactly these fields.
    virtual bool Save() = 0;
};

// A shortcut whose fields are gathered as they are set, for a Save that does
// all its work at once. A hot key is refused: no shortcut here takes one.
class GatheredShortcut : public ShortcutFile {
public:
    void SetTargetPath(const std::wstring& path) override { fields_.target = path; }
    void SetWindowStyle(std::int16_t showCommand) override { fields_.showCommand = showCommand; }
    void SetHotkey(const std::wstring& hotkey) override {
        if (!hotkey.empty()) throw AppError(kInvalidProcedureCall, L"Invalid procedure call or argument");
    }
    void SetIconLocation(const std::wstring& location) override { fields_.iconLocation = location; }
    void SetDescription(const std::wstring& text) override { fields_.description = text; }
    void SetArguments(const std::wstring& arguments) override { fields_.arguments = arguments; }
    void SetWorkingDirectory(const std::wstring& folder) override { fields_.workingDirectory = folder; }
    void SetAppUserModelId(const std::wstring& id) override { fields_.appUserModelId = id; }

protected:
    ShortcutFields fields_;
};

// Whose special folders: the user's own, or those every user of the
// machine shares.
enum class FolderOwner { CurrentUser, AllUsers };

class ShellLinks {
public:
    virtual ~ShellLinks() = default;
    // Full path of the folder, without a final "\": a drive root is "H:".
    virtual std::wstring FolderPath(SpecialFolder folder) = 0;
    // A shortcut to be saved as `linkPath`: the shortcut there, when there is
    // one, so that whatever else it holds stays; else a new one. Throws when
    // the Shell cannot make one.
    virtual std::unique_ptr<ShortcutFile> CreateShortcut(const std::wstring& linkPath) = 0;
    // What the shortcut saved as `linkPath` holds; none when there is no file
    // there, or it is no shortcut. Throws when it cannot be asked (a drive
    // that does not answer).
    virtual std::optional<ShortcutFields> ReadShortcut(const std::wstring& linkPath) = 0;
    // Tells the shell that the file or folder at `path` changed, so that the
    // Desktop and the Start menu show it at once.
    virtual void NotifyChanged(ShellChange change, const std::wstring& path) = 0;
};

}  // namespace zoriza
