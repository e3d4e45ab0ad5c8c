// What /check and /remove did, as the create command's outcome says what it
// did: the lines and the exit code are made from them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "main_window/command_outcomes.h"
#include "platform/base/error.h"
#include "shortcuts/shortcuts.h"

namespace zoriza {

enum class Finding { InPlace, Missing, Differs, NotStored };

// One thing the create command would write, compared with what is there.
struct CheckedItem {
    std::wstring what{};  // a folder's or shortcut's path, or "Value = text" for a setting
    Finding finding{};
    // Why it is not in place, one line each: `target "x", should be "y"`, or
    // what a setting holds instead.
    std::vector<std::wstring> details{};
};

struct CheckOutcome {
    CreatePlan plan{};
    bool everyUser = false;
    LauncherFinding launcher{};
    // In the order the create command reaches them; once the launcher is there.
    std::vector<CheckedItem> items{};
    // The shortcut that could not be checked; the check stops there.
    std::optional<ShortcutResult> unchecked{};

    int NotInPlace() const;
};

enum class FolderRemoval { NotThere, Removed, Kept, Failed };

struct RemoveOutcome {
    std::optional<std::wstring> edition{};  // "VekPro (VekPro)"; none when no edition is chosen
    // Each shortcut removed or kept, in order.
    std::vector<RemovedShortcut> shortcuts{};
    // The shortcut that could not be removed, with its path as the context;
    // the command stops there.
    std::optional<AppError> failed{};
    std::wstring folder{};  // the Programs subfolder
    FolderRemoval folderRemoval = FolderRemoval::NotThere;
    std::optional<AppError> folderError{};

    int Removed() const;
};

}  // namespace zoriza
