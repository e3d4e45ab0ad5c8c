// What the form's commands did: start-up, the scan and the create command
// each return theirs, and the window turns it into message boxes, the
// unattended mode into lines and an exit code.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "main_window/shortcut_plan.h"
#include "platform/base/error.h"
#include "shortcuts/shortcuts.h"

namespace zoriza {

// A saved value that its control rejected at start-up; the default stays.
struct PassedOverSetting {
    std::wstring valueName{};
    std::wstring text{};
    AppError error;
};

struct StartUpOutcome {
    std::vector<PassedOverSetting> passedOver{};
};

struct ScanOutcome {
    std::wstring candidate{};                // "VekPro\VEKBIN.BAT", what the scan looked for
    std::optional<std::wstring> found{};     // the folder the lists moved to: "F:\VekPro"
    std::vector<std::wstring> passedOver{};  // holding the launcher, but made by another user
};

// One setting as the create command saves it.
struct SettingWrite {
    const wchar_t* valueName{};
    std::wstring text{};
};

// What the create command would do with the window's choices, worked out
// before it does any of it: the check compares the same plan with the disk.
struct CreatePlan {
    LaunchTarget target{};
    std::wstring launcher{};  // the path tested
    std::vector<PlannedShortcut> shortcuts{};
    std::vector<SettingWrite> settings{};
};

enum class ShortcutState { Written, Unchanged, Failed, NotReached };

struct ShortcutResult {
    PlannedShortcut planned{};
    std::wstring displayName{};  // "Programs\VekPro\Calculadora.lnk", as an error report names it
    ShortcutState state = ShortcutState::NotReached;
    std::wstring linkPath{};          // once in place
    std::optional<AppError> error{};  // when it failed
};

struct SettingResult {
    const wchar_t* valueName{};
    std::wstring text{};
    bool stored{};
};

enum class LauncherState { There, Missing, Unchecked };

struct LauncherFinding {
    LauncherState state = LauncherState::Unchecked;
    std::optional<AppError> error{};  // why it could not be checked
};

struct CreateOutcome {
    CreatePlan plan{};
    LauncherFinding launcher{};
    std::vector<ShortcutResult> shortcuts{};  // one per planned shortcut, once the launcher is there
    std::vector<SettingResult> settings{};    // saved only when every shortcut is in place

    // Written or unchanged.
    int InPlace() const;
    // The shortcut that stopped the command, or none.
    const ShortcutResult* Failed() const;
    int SettingsNotStored() const;
};

// Told each step of the create command as it ends, for a caller that shows
// them as they come: a logon script watches a slow run line by line. The
// outcome holds them all again at the end.
class CreateProgress {
public:
    virtual ~CreateProgress() = default;
    virtual void ShortcutDone(const ShortcutResult& /*shortcut*/) {}
    virtual void SettingDone(const SettingResult& /*setting*/) {}
};

}  // namespace zoriza
