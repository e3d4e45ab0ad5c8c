// /remove: every shortcut the create command may have written for the
// edition, under every language's name, then its Programs subfolder when
// nothing else is left in it. A shortcut of such a name pointing at anything
// else is the user's and stays. The saved settings stay as they are.
#include "localisation/catalogue.h"
#include "main_window/shortcut_plan.h"
#include "platform/base/text.h"
#include "unattended/run_report.h"
#include "unattended/unattended.h"

namespace zoriza {

namespace {

// The Programs subfolder goes only when it is empty; a user's own file keeps it.
int RemoveSubfolder(const FormServices& services, const std::wstring& appCode, OutputLines& out) {
    const std::wstring folder = Joined({services.shell.FolderPath(SpecialFolder::Programs), L"\\", appCode});
    try {
        if (services.files.RemoveEmptyFolder(folder)) {
            services.shell.NotifyChanged(ShellChange::FolderRemoved, folder);
            out.Line(Joined({L"removed folder: ", folder}));
        } else if (!services.files.FirstMatch(Joined({folder, L"\\"}), EntryKinds::FoldersAndFiles).empty()) {
            out.Line(Joined({L"kept folder: ", folder, L" (other files are in it)"}));
        }
        return kExitDone;
    } catch (const AppError& error) {
        out.Line(Joined({L"failed: ", folder, L": ", ErrorText(error)}));
        return kExitShortcutFailed;
    }
}

// A shortcut under one of the names that points elsewhere is the user's own.
std::wstring KeptLine(const RemovedShortcut& shortcut) {
    if (shortcut.target.empty()) return Joined({L"kept: ", shortcut.linkPath, L" (no shortcut written by ZORIZA)"});
    return Joined({L"kept: ", shortcut.linkPath, L" -> ", shortcut.target, L" (not a target ZORIZA writes)"});
}

int RemoveEdition(HeadlessForm& f, const UnattendedOptions& options, OutputLines& out) {
    if (options.edition) f.App.SetListIndex(*options.edition);
    const std::int16_t edition = f.App.ListIndex();
    if (edition < 0 || edition >= static_cast<std::int16_t>(kEditionCaptions.size())) {
        return Finish(out, kExitUnexpected, {L"no edition is chosen"});
    }
    const std::wstring appCode = ResolveLaunchTarget(edition, L"", false).AppCode;
    out.Line(Joined({L"edition: ", f.App.Text(), L" (", appCode, L")"}));
    int removed = 0;
    for (const ShortcutName& name :
         ShortcutNamesInEveryLanguage(appCode, kEditionCaptions[static_cast<std::size_t>(edition)])) {
        try {
            const RemovedShortcut shortcut =
                RemoveShortcut(f.services.shell, f.services.files, name.location, name.linkName,
                               [edition](const std::wstring& target) { return IsPlannedTarget(edition, target); });
            if (shortcut.kept) out.Line(KeptLine(shortcut));
            if (!shortcut.removed) continue;
            ++removed;
            out.Line(Joined({L"removed: ", shortcut.linkPath, L" -> ", shortcut.target}));
        } catch (const AppError& error) {
            out.Line(Joined({L"failed: ", error.Context(), L": ", ErrorText(error)}));
            return Finish(out, kExitShortcutFailed,
                          {L"a shortcut could not be removed; the ", DecimalText(removed), L" removed before it stay removed"});
        }
    }
    if (RemoveSubfolder(f.services, appCode, out) != kExitDone) {
        return Finish(out, kExitShortcutFailed, {L"the shortcuts' folder could not be removed"});
    }
    return Finish(out, kExitDone, {DecimalText(removed), L" shortcuts removed"});
}

}  // namespace

int RunRemove(const FormServices& services, const StartingPoint& start, const UnattendedOptions& options,
              OutputLines& out) {
    HeadlessForm f(services, start, options.allUsers);
    return Guarded(out, [&] {
        StartUpReport report(out);
        f.form.Observe(report);
        if (!f.form.Dispatch(FormEvent::Load)) return Finish(out, kExitUnexpected, {L"start-up failed"});
        return RemoveEdition(f, options, out);
    });
}

}  // namespace zoriza
