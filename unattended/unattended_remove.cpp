// /remove: every shortcut the create command may have written for the
// edition, under every language's name, then its Programs subfolder when
// nothing else is left in it. A shortcut of such a name pointing at anything
// else is the user's and stays. The saved settings stay as they are.
#include <algorithm>

#include "localisation/catalogue.h"
#include "main_window/shortcut_plan.h"
#include "platform/base/text.h"
#include "unattended/prepared_form.h"
#include "unattended/run_report.h"
#include "unattended/unattended.h"

namespace zoriza {

namespace {

// The Programs subfolder goes only when it is empty; a user's own file keeps it.
void RemoveSubfolder(const FormServices& services, const std::wstring& appCode, RemoveOutcome& outcome) {
    outcome.folder = Joined({services.shell.FolderPath(SpecialFolder::Programs), L"\\", appCode});
    try {
        if (services.files.RemoveEmptyFolder(outcome.folder)) {
            services.shell.NotifyChanged(ShellChange::FolderRemoved, outcome.folder);
            outcome.folderRemoval = FolderRemoval::Removed;
        } else if (!services.files.FirstMatch(Joined({outcome.folder, L"\\"}), EntryKinds::FoldersAndFiles).empty()) {
            outcome.folderRemoval = FolderRemoval::Kept;
        }
    } catch (const AppError& error) {
        outcome.folderRemoval = FolderRemoval::Failed;
        outcome.folderError = error;
    }
}

RemoveOutcome RemoveEdition(HeadlessForm& f, const UnattendedOptions& options) {
    RemoveOutcome outcome;
    if (options.edition) f.App.SetListIndex(*options.edition);
    const std::int16_t edition = f.App.ListIndex();
    if (edition < 0 || edition >= static_cast<std::int16_t>(kEditionCaptions.size())) return outcome;
    const std::wstring appCode = ResolveLaunchTarget(edition, L"", false).AppCode;
    outcome.edition = Joined({f.App.Text(), L" (", appCode, L")"});
    const auto ours = [edition](const std::wstring& target) { return IsPlannedTarget(edition, target); };
    for (const ShortcutName& name :
         ShortcutNamesInEveryLanguage(appCode, kEditionCaptions[static_cast<std::size_t>(edition)])) {
        try {
            const RemovedShortcut shortcut =
                RemoveShortcut(f.services.shell, f.services.files, name.location, name.linkName, ours);
            if (shortcut.kept || shortcut.removed) outcome.shortcuts.push_back(shortcut);
        } catch (const AppError& error) {
            outcome.failed = error;
            return outcome;
        }
    }
    RemoveSubfolder(f.services, appCode, outcome);
    return outcome;
}

// A shortcut under one of the names that points elsewhere is the user's own.
std::wstring KeptLine(const RemovedShortcut& shortcut) {
    if (shortcut.target.empty()) return Joined({L"kept: ", shortcut.linkPath, L" (no shortcut written by ZORIZA)"});
    return Joined({L"kept: ", shortcut.linkPath, L" -> ", shortcut.target, L" (not a target ZORIZA writes)"});
}

void TellRemove(const RemoveOutcome& outcome, OutputLines& out) {
    if (!outcome.edition) return;
    out.Line(Joined({L"edition: ", *outcome.edition}));
    for (const RemovedShortcut& shortcut : outcome.shortcuts) {
        out.Line(shortcut.kept ? KeptLine(shortcut)
                               : Joined({L"removed: ", shortcut.linkPath, L" -> ", shortcut.target}));
    }
    if (outcome.failed)
        return out.Line(FailedLine(outcome.failed->Context(), *outcome.failed));
    switch (outcome.folderRemoval) {
        case FolderRemoval::NotThere: return;
        case FolderRemoval::Removed: return out.Line(Joined({L"removed folder: ", outcome.folder}));
        case FolderRemoval::Kept:
            return out.Line(Joined({L"kept folder: ", outcome.folder, L" (other files are in it)"}));
        case FolderRemoval::Failed:
            return out.Line(FailedLine(outcome.folder, *outcome.folderError));
    }
}

}  // namespace

int RemoveOutcome::Removed() const {
    return static_cast<int>(std::count_if(shortcuts.begin(), shortcuts.end(),
                                          [](const RemovedShortcut& shortcut) { return shortcut.removed; }));
}

int RunRemove(const FormServices& services, const StartingPoint& start, const UnattendedOptions& options,
              OutputLines& out) {
    HeadlessForm f(services, start, options.allUsers);
    return Guarded(out, [&] {
        if (const std::optional<RunEnd> ended = StartForm(f, out)) return Finish(out, *ended);
        const RemoveOutcome outcome = RemoveEdition(f, options);
        TellRemove(outcome, out);
        return Finish(out, EndOf(outcome));
    });
}

}  // namespace zoriza
