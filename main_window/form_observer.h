// What the form's handlers did, told as they do it, for a caller that runs
// the form without a window and must know the outcome without reading the
// message boxes. The window itself observes nothing.
#pragma once

#include <string>

#include "main_window/shortcut_plan.h"
#include "platform/base/error.h"
#include "shortcuts/shortcuts.h"

namespace zoriza {

class FormObserver {
public:
    virtual ~FormObserver() = default;

    // Start-up passed over a saved value that its control rejected.
    virtual void SettingPassedOver(const std::wstring& /*valueName*/, const std::wstring& /*text*/,
                                   const AppError& /*error*/) {}
    // The scan found the launcher on no drive; `candidate` is what it looked for.
    virtual void ScanFoundNothing(const std::wstring& /*candidate*/) {}
    // The scan passed over `folder`, which holds the launcher but was made by
    // another user.
    virtual void ScanPassedOver(const std::wstring& /*folder*/) {}
    // The create command found no launcher at the path it tested.
    virtual void LauncherMissing(const std::wstring& /*testedPath*/) {}
    // The shortcut is in place: written, or `unchanged` when it already held
    // every field.
    virtual void ShortcutWritten(const std::wstring& /*linkPath*/, const PlannedShortcut& /*shortcut*/,
                                 bool /*unchanged*/) {}
    // The shortcut `displayName` could not be written; the command stops there.
    virtual void ShortcutFailed(const std::wstring& /*displayName*/, const AppError& /*error*/) {}
    // One setting written by the create command, and whether it was stored.
    virtual void SettingSaved(const std::wstring& /*valueName*/, const std::wstring& /*text*/, bool /*stored*/) {}
    // The create command ran to its end.
    virtual void ShortcutsCreated(const LaunchTarget& /*target*/) {}
    // An error escaped a handler and was reported.
    virtual void ErrorReported(const AppError& /*error*/) {}
};

}  // namespace zoriza
