// The shortcuts the create command writes, in order: the optional desktop
// shortcut of the application, its Programs shortcut and the six tools.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/base/error.h"
#include "shortcuts/shortcuts.h"

namespace zoriza {

struct PlannedShortcut {
    std::wstring location;  // "Desktop", or empty for the Start menu's Programs
    std::wstring linkName;
    std::wstring target;
    std::wstring iconPath;
    std::wstring linkArgs;
    bool maximized;
    std::wstring appUserModelId;  // the same in every language and on every platform
};

// Tool names are translated into the current language as the plan is made.
std::vector<PlannedShortcut> ShortcutPlan(const LaunchTarget& target, const std::wstring& editionText,
                                          bool desktopWanted);

// The shortcut as an error report names it: "Programs\VekPro\Calculadora.lnk".
std::wstring ShortcutDisplayName(const PlannedShortcut& shortcut);

// The first planned shortcut with a path beyond the Windows path limit, or
// whose folder could not be looked up, and why; none when every path fits.
// Nothing is written or compared before this is known.
struct RefusedShortcut {
    std::size_t index;
    AppError error;
};
std::optional<RefusedShortcut> FirstRefusedShortcut(ShellLinks& shell, const std::vector<PlannedShortcut>& plan);

// Whether `target` is one the plan gives a shortcut of the edition with
// index `editionIndex`, for either launcher and on any server folder.
bool IsPlannedTarget(std::int16_t editionIndex, const std::wstring& target);

struct ShortcutName {
    std::wstring location;  // as in PlannedShortcut
    std::wstring linkName;
    bool operator==(const ShortcutName&) const = default;
};

// Every name the plan gives a shortcut of the edition with application code
// `appCode` and Catalan caption `editionKey`, in each of the four languages,
// once each: the Desktop's first, then those in Programs. Whatever the
// platform, the names are the same.
std::vector<ShortcutName> ShortcutNamesInEveryLanguage(const std::wstring& appCode, const std::wstring& editionKey);

}  // namespace zoriza
