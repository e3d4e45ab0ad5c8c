// /check: the plan the create command would carry out, compared with what is
// there: the subfolder, each shortcut's fields and the settings. Writes
// nothing. Exit 0 when all is in place.
#include <algorithm>
#include <set>

#include "platform/base/text.h"
#include "settings/settings_store.h"
#include "unattended/prepared_form.h"
#include "unattended/run_report.h"
#include "unattended/shortcut_differences.h"
#include "unattended/unattended.h"

namespace zoriza {

namespace {

class PlanAgainstDisk {
public:
    PlanAgainstDisk(const FormServices& services, CheckOutcome& outcome) : services_(services), outcome_(outcome) {}

    // As the create command, every path is worked out first: one that would
    // not fit stops the check before anything is compared.
    void CompareShortcuts() {
        const std::vector<PlannedShortcut>& plan = outcome_.plan.shortcuts;
        if (const std::optional<RefusedShortcut> refused = FirstRefusedShortcut(services_.shell, plan)) {
            return NotChecked(plan[refused->index], refused->error);
        }
        for (const PlannedShortcut& planned : plan) {
            try {
                CompareShortcut(planned);
            } catch (const AppError& error) {
                return NotChecked(planned, error);
            }
        }
    }

    void CompareSettings() {
        for (const SettingWrite& setting : outcome_.plan.settings) {
            const std::wstring what = Joined({setting.valueName, L" = ", setting.text});
            if (RegHoldsString(services_.registry, kDefaultRoot, kSettingsKey, setting.valueName, setting.text)) {
                outcome_.items.push_back({what, Finding::InPlace, {}});
                continue;
            }
            const std::wstring there = RegGetString(services_.registry, kDefaultRoot, kSettingsKey, setting.valueName);
            outcome_.items.push_back({what,
                                      Finding::NotStored,
                                      {there.empty() ? L"(none stored)" : Joined({L"(stored: \"", there, L"\")"})}});
        }
    }

private:
    // The shortcut that could not be checked; the check stops there.
    void NotChecked(const PlannedShortcut& planned, const AppError& error) {
        outcome_.unchecked = ShortcutResult{planned, ShortcutDisplayName(planned), ShortcutState::Failed, {}, error};
    }

    void CompareShortcut(const PlannedShortcut& planned) {
        MaximizeWindow = planned.maximized ? kTrue : kFalse;
        const ShortcutPaths paths = Paths(planned);
        const std::wstring subfolder = WithoutFinalBackslash(paths.subfolder);
        // A missing folder is told once, however many shortcuts would go in it.
        if (!SubfolderIsThere(services_.files, paths.subfolder) && missingFolders_.insert(subfolder).second) {
            outcome_.items.push_back({subfolder, Finding::Missing, {}});
        }
        outcome_.items.push_back(
            CompareLink(paths.link, FieldsOfShortcut(paths, planned.linkArgs, planned.appUserModelId)));
    }

    CheckedItem CompareLink(const std::wstring& linkPath, const ShortcutFields& wanted) {
        std::optional<ShortcutFields> there;
        try {
            there = services_.shell.ReadShortcut(linkPath);
            if (!there && services_.files.FirstMatch(linkPath, EntryKinds::FoldersAndFiles).empty()) {
                return {linkPath, Finding::Missing, {}};
            }
        } catch (const AppError& error) {
            return {linkPath, Finding::Differs, {L"cannot be read: " + ErrorText(error)}};
        }
        if (!there) return {linkPath, Finding::Differs, {L"not a shortcut"}};
        std::vector<std::wstring> differences = DifferencesOf(*there, wanted);
        return {linkPath, differences.empty() ? Finding::InPlace : Finding::Differs, std::move(differences)};
    }

    ShortcutPaths Paths(const PlannedShortcut& planned) {
        return PathsOfShortcut(services_.shell, planned.location, planned.target, planned.linkName, planned.iconPath);
    }

    const FormServices& services_;
    CheckOutcome& outcome_;
    std::set<std::wstring> missingFolders_;
};

// "in place: ...", "missing: ...", one "differs: ...: why" for each reason,
// "not saved: Value = text (why)".
void TellItem(const CheckedItem& item, OutputLines& out) {
    switch (item.finding) {
        case Finding::InPlace: return out.Line(Joined({L"in place: ", item.what}));
        case Finding::Missing: return out.Line(Joined({L"missing: ", item.what}));
        case Finding::Differs:
            for (const std::wstring& why : item.details) out.Line(Joined({L"differs: ", item.what, L": ", why}));
            return;
        case Finding::NotStored: return out.Line(Joined({L"not saved: ", item.what, L" ", item.details.front()}));
    }
}

void TellCheck(const CheckOutcome& outcome, OutputLines& out) {
    TellLauncher(outcome.plan, outcome.launcher, out);
    for (const CheckedItem& item : outcome.items) TellItem(item, out);
    if (outcome.unchecked) {
        out.Line(FailedLine(outcome.unchecked->displayName, *outcome.unchecked->error));
    }
}

CheckOutcome CheckAgainstDisk(Form1& form, const FormServices& services, bool everyUser) {
    CheckOutcome outcome{form.PlanCreate(), everyUser};
    outcome.launcher = form.FindLauncher(outcome.plan);
    if (outcome.launcher.state != LauncherState::There) return outcome;
    PlanAgainstDisk comparison(services, outcome);
    comparison.CompareShortcuts();
    if (!outcome.unchecked && !everyUser) comparison.CompareSettings();
    return outcome;
}

}  // namespace

int CheckOutcome::NotInPlace() const {
    return static_cast<int>(std::count_if(items.begin(), items.end(),
                                          [](const CheckedItem& item) { return item.finding != Finding::InPlace; }));
}

int RunCheck(const FormServices& services, const StartingPoint& start, const UnattendedOptions& options,
             OutputLines& out) {
    HeadlessForm f(services, start, options.allUsers);
    return Guarded(out, [&] {
        if (const std::optional<RunEnd> ended = PrepareForm(f, options, out)) return Finish(out, *ended);
        const CheckOutcome outcome = CheckAgainstDisk(f.form, f.services, options.allUsers);
        TellCheck(outcome, out);
        return Finish(out, EndOf(outcome));
    });
}

}  // namespace zoriza
