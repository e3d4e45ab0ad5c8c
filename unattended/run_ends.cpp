// How each command's outcome ends the run: the exit code and the last line.
#include "platform/base/escaped_error.h"
#include "platform/base/text.h"
#include "unattended/run_report.h"

namespace zoriza {

namespace {

// A command that stopped at the launcher.
RunEnd LauncherEnd(const LauncherFinding& launcher) {
    if (launcher.state == LauncherState::Missing) return {kExitNotFound, L"launcher not found; nothing written"};
    return {kExitNotFound, L"the launcher could not be checked; nothing written"};
}

}  // namespace

// After "unexpected error": the program's own error, or memory running out;
// of an error nobody foresaw, nothing.
RunEnd EndOf(const EscapedError& escaped) {
    switch (escaped.kind) {
        case EscapedError::Kind::Own: return {kExitUnexpected, L"unexpected error: " + ErrorText(escaped.error)};
        case EscapedError::Kind::OutOfMemory: return {kExitUnexpected, L"unexpected error: out of memory"};
        case EscapedError::Kind::Unforeseen: return {kExitUnexpected, L"unexpected error"};
    }
    ThrowInternalError();
}

RunEnd EndOf(EarlyEnd end) {
    switch (end) {
        case EarlyEnd::UsageRefused: return {kExitUsageError, L"nothing done; ZORIZA.exe /? shows the usage"};
        case EarlyEnd::NotAdministrator: return {kExitNotAdministrator, L"nothing done"};
        case EarlyEnd::StartUpFailed: return {kExitUnexpected, L"start-up failed"};
        case EarlyEnd::FolderNotShown: return {kExitNotFound, L"the server folder cannot be shown; nothing written"};
        case EarlyEnd::NoDriveHoldsTheLauncher: return {kExitNotFound, L"no drive holds the launcher; nothing written"};
    }
    ThrowInternalError();
}

RunEnd EndOf(const CreateOutcome& outcome, bool everyUser) {
    if (outcome.launcher.state != LauncherState::There) return LauncherEnd(outcome.launcher);
    const std::wstring written = DecimalText(outcome.InPlace());
    if (outcome.Failed() != nullptr) {
        return {kExitShortcutFailed, Joined({L"a shortcut could not be written; the ", written, L" written before it",
                                             everyUser ? L" stay" : L" stay; settings not saved"})};
    }
    const std::wstring done = Joined({written, L" shortcuts written for ", outcome.plan.target.ServerDir});
    if (everyUser) return {kExitDone, done + L" for every user"};
    const int notSaved = outcome.SettingsNotStored();
    if (notSaved == 0) return {kExitDone, done + L", settings saved"};
    return {kExitSettingNotSaved, Joined({done, L", ", DecimalText(notSaved), L" of the settings not saved"})};
}

RunEnd EndOf(const CheckOutcome& outcome) {
    if (outcome.launcher.state != LauncherState::There) return LauncherEnd(outcome.launcher);
    if (outcome.unchecked) return {kExitShortcutFailed, L"a shortcut could not be checked; nothing written"};
    const std::wstring where = Joined({outcome.plan.target.ServerDir, outcome.everyUser ? L" for every user" : L""});
    const int notInPlace = outcome.NotInPlace();
    if (notInPlace == 0) return {kExitDone, L"everything in place for " + where};
    return {kExitNotInPlace,
            Joined({DecimalText(notInPlace), L" not in place for ", where, L"; /create puts them in place"})};
}

RunEnd EndOf(const RemoveOutcome& outcome) {
    if (!outcome.edition) return {kExitUnexpected, L"no edition is chosen"};
    const std::wstring removed = DecimalText(outcome.Removed());
    if (outcome.failed) {
        return {kExitShortcutFailed,
                Joined({L"a shortcut could not be removed; the ", removed, L" removed before it stay removed"})};
    }
    if (outcome.folderRemoval == FolderRemoval::Failed) {
        return {kExitShortcutFailed, L"the shortcuts' folder could not be removed"};
    }
    return {kExitDone, removed + L" shortcuts removed"};
}

}  // namespace zoriza
