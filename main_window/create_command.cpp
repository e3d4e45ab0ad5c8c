// The create command: checks the launcher, writes the shortcuts, saves the
// choices; and CREAR, which reports what it did.
#include <algorithm>

#include "localisation/catalogue.h"
#include "main_window/main_window.h"
#include "main_window/wait_cursor.h"
#include "settings/settings_store.h"

namespace zoriza {

namespace {

void MarkFailed(ShortcutResult& shortcut, const AppError& error, CreateProgress& progress) {
    shortcut.state = ShortcutState::Failed;
    shortcut.error = error;
    progress.ShortcutDone(shortcut);
}

}  // namespace

int CreateOutcome::InPlace() const {
    return static_cast<int>(std::count_if(shortcuts.begin(), shortcuts.end(), [](const ShortcutResult& shortcut) {
        return shortcut.state == ShortcutState::Written || shortcut.state == ShortcutState::Unchanged;
    }));
}

const ShortcutResult* CreateOutcome::Failed() const {
    for (const ShortcutResult& shortcut : shortcuts) {
        if (shortcut.state == ShortcutState::Failed) return &shortcut;
    }
    return nullptr;
}

int CreateOutcome::SettingsNotStored() const {
    return static_cast<int>(
        std::count_if(settings.begin(), settings.end(), [](const SettingResult& setting) { return !setting.stored; }));
}

// The report comes once the work is done and the wait cursor gone.
void Form1::Intro_Click() {
    const CreateOutcome outcome = [this] {
        const WaitCursor busy(c_.form);
        CreateProgress unseen;
        return Create(unseen);
    }();
    if (outcome.launcher.state == LauncherState::Missing) return ShowNotFound(outcome.plan.launcher);
    // A failure goes to the error report as any error a handler meets.
    if (outcome.launcher.error) throw *outcome.launcher.error;
    if (const ShortcutResult* failed = outcome.Failed()) throw failed->error->WithContext(failed->displayName);
    c_.form.ShowMessage(Translate(L"Creats accessos al servidor ") + outcome.plan.target.ServerDir, L"",
                        MessageIcon::None);
}

CreatePlan Form1::PlanCreate() const {
    CreatePlan plan;
    plan.target = CurrentLaunchTarget();
    // The folder list's own path: a drive root gives two backslashes here,
    // which the file lookup reads as one.
    plan.launcher = c_.Dir1.Path() + L"\\" + plan.target.BatchFile;
    const bool desktopWanted = c_.Icona.Value() != CheckBox::kCleared;
    plan.shortcuts = ShortcutPlan(plan.target, c_.App.Text(), desktopWanted);
    const auto save = [&plan](const wchar_t* valueName, std::wstring text) {
        plan.settings.push_back({valueName, std::move(text)});
    };
    save(kLanguageSetting, NumberText(c_.Lang.ListIndex()));
    save(kEditionSetting, NumberText(c_.App.ListIndex()));
    save(kFolderSetting, c_.Dir1.Path());
    for (std::int16_t i = 0; i < c_.Platform.Count(); ++i) {
        if (c_.Platform.Value(i)) save(kPlatformSetting, NumberText(i));
    }
    save(kDesktopIconSetting, NumberText(c_.Icona.Value()));
    return plan;
}

LauncherFinding Form1::FindLauncher(const CreatePlan& plan) {
    try {
        return {IsNormalFile(plan.launcher) ? LauncherState::There : LauncherState::Missing};
    } catch (const AppError& error) {
        return {LauncherState::Unchecked, error};
    }
}

CreateOutcome Form1::Create(CreateProgress& progress) {
    CreateOutcome outcome{PlanCreate()};
    outcome.launcher = FindLauncher(outcome.plan);
    if (outcome.launcher.state != LauncherState::There) return outcome;
    for (const PlannedShortcut& shortcut : outcome.plan.shortcuts) {
        outcome.shortcuts.push_back({shortcut, ShortcutDisplayName(shortcut)});
    }
    // Every path of every shortcut is worked out before any is written: one
    // that would not fit the Windows path limit stops the command with
    // nothing written.
    if (const std::optional<RefusedShortcut> refused = FirstRefusedShortcut(services_.shell, outcome.plan.shortcuts)) {
        MarkFailed(outcome.shortcuts[refused->index], refused->error, progress);
        return outcome;
    }
    if (!WriteShortcuts(outcome.shortcuts, progress)) return outcome;
    for (const SettingWrite& setting : outcome.plan.settings) {
        const bool stored =
            RegSetString(services_.registry, kDefaultRoot, kSettingsKey, setting.valueName, setting.text);
        outcome.settings.push_back({setting.valueName, setting.text, stored});
        progress.SettingDone(outcome.settings.back());
    }
    return outcome;
}

// A shortcut that cannot be written stops the command there, and the
// shortcuts written before it stay.
bool Form1::WriteShortcuts(std::vector<ShortcutResult>& shortcuts, CreateProgress& progress) {
    for (ShortcutResult& shortcut : shortcuts) {
        const PlannedShortcut& planned = shortcut.planned;
        MaximizeWindow = planned.maximized ? kTrue : kFalse;
        try {
            const MadeShortcut made =
                MakeShortcut(services_.shell, services_.files, planned.location, planned.target, planned.linkName,
                             planned.iconPath, planned.linkArgs, planned.appUserModelId);
            shortcut.state = made.unchanged ? ShortcutState::Unchanged : ShortcutState::Written;
            shortcut.linkPath = made.linkPath;
            progress.ShortcutDone(shortcut);
        } catch (const AppError& error) {
            MarkFailed(shortcut, error, progress);
            return false;
        }
    }
    return true;
}

}  // namespace zoriza
