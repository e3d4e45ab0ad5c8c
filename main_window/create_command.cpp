// The create command: checks the launcher, writes the shortcuts, saves the
// choices and reports.
#include "localisation/catalogue.h"
#include "main_window/main_window.h"
#include "main_window/shortcut_plan.h"
#include "main_window/wait_cursor.h"
#include "settings/settings_store.h"

namespace zoriza {

namespace {


std::wstring ShortcutDisplayName(const PlannedShortcut& shortcut) {
    const std::wstring folder = shortcut.location.empty() ? L"Programs" : shortcut.location;
    return folder + L"\\" + shortcut.linkName + L".lnk";
}

}  // namespace

void Form1::Intro_Click() {
    const WaitCursor busy(c_.form);
    const LaunchTarget target = CurrentLaunchTarget();
    // The folder list's own path: a drive root gives two backslashes here,
    // which the file lookup reads as one.
    const std::wstring launcher = c_.Dir1.Path() + L"\\" + target.BatchFile;
    if (!IsNormalFile(launcher)) {
        observer_->LauncherMissing(launcher);
        ShowNotFound(launcher);
        return;
    }
    WriteShortcuts(target);
    SaveChoices();
    observer_->ShortcutsCreated(target);
    c_.form.ShowMessage(Translate(L"Creats accessos al servidor ") + target.ServerDir, L"",
                        MessageIcon::None);
}

// Every path of every shortcut is worked out before any is written: one that
// would not fit the Windows path limit stops the command with nothing written,
// and the report names its shortcut.
void Form1::CheckPathsFit(const std::vector<PlannedShortcut>& plan) {
    for (const PlannedShortcut& shortcut : plan) {
        try {
            const std::wstring tooLong = PathTooLong(PathsOfShortcut(
                services_.shell, shortcut.location, shortcut.target, shortcut.linkName, shortcut.iconPath));
            if (!tooLong.empty()) throw AppError(kBadFileName, L"The path is longer than Windows allows: " + tooLong);
        } catch (const AppError& error) {
            observer_->ShortcutFailed(ShortcutDisplayName(shortcut), error);
            throw error.WithContext(ShortcutDisplayName(shortcut));
        }
    }
}

// A shortcut that cannot be written stops the command there; the error report
// names it, and the shortcuts written before it stay.
void Form1::WriteShortcuts(const LaunchTarget& target) {
    const bool desktopWanted = c_.Icona.Value() != CheckBox::kCleared;
    const std::vector<PlannedShortcut> plan = ShortcutPlan(target, c_.App.Text(), desktopWanted);
    CheckPathsFit(plan);
    for (const PlannedShortcut& shortcut : plan) {
        MaximizeWindow = shortcut.maximized ? kTrue : kFalse;
        try {
            const MadeShortcut made = MakeShortcut(services_.shell, services_.files, shortcut.location,
                                                   shortcut.target, shortcut.linkName, shortcut.iconPath,
                                                   shortcut.linkArgs, shortcut.appUserModelId);
            observer_->ShortcutWritten(made.linkPath, shortcut, made.unchanged);
        } catch (const AppError& error) {
            observer_->ShortcutFailed(ShortcutDisplayName(shortcut), error);
            throw error.WithContext(ShortcutDisplayName(shortcut));
        }
    }
}

void Form1::SaveChoices() {
    SaveSetting(kLanguageSetting, NumberText(c_.Lang.ListIndex()));
    SaveSetting(kEditionSetting, NumberText(c_.App.ListIndex()));
    SaveSetting(kFolderSetting, c_.Dir1.Path());
    for (std::int16_t i = 0; i < c_.Platform.Count(); ++i) {
        if (c_.Platform.Value(i)) SaveSetting(kPlatformSetting, NumberText(i));
    }
    SaveSetting(kDesktopIconSetting, NumberText(c_.Icona.Value()));
}

// A setting that cannot be written is passed over: the shortcuts are there.
// Only an observer hears of it.
void Form1::SaveSetting(const wchar_t* name, const std::wstring& text) {
    const bool stored = RegSetString(services_.registry, kDefaultRoot, kSettingsKey, name, text);
    observer_->SettingSaved(name, text, stored);
}

}  // namespace zoriza
