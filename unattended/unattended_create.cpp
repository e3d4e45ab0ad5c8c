// /create: the window's start-up gives the defaults, the switches are applied
// as a user would choose them, then CREAR runs; each step is told as a line.
#include "localisation/catalogue.h"
#include "main_window/layout.h"
#include "platform/base/text.h"
#include "unattended/create_report.h"
#include "unattended/server_folder_spelling.h"
#include "unattended/unattended.h"

namespace zoriza {

void CreateReport::ScanFoundNothing(const std::wstring& candidate) {
    scanFoundNothing_ = true;
    out_.Line(Joined({L"not found: no drive holds ", candidate}));
}

void CreateReport::ScanPassedOver(const std::wstring& folder) {
    out_.Line(Joined({L"passed over: ", folder, L" (made by another user, not an administrator)"}));
}

void CreateReport::LauncherMissing(const std::wstring& testedPath) {
    launcherMissing_ = true;
    out_.Line(Joined({L"not found: ", testedPath}));
}

void CreateReport::ShortcutWritten(const std::wstring& linkPath, const PlannedShortcut& shortcut, bool unchanged) {
    ++written_;
    const wchar_t* space = shortcut.linkArgs.empty() ? L"" : L" ";
    out_.Line(Joined({unchanged ? L"unchanged: " : L"written: ", linkPath, L" -> ", shortcut.target, space,
                      shortcut.linkArgs}));
}

void CreateReport::ShortcutFailed(const std::wstring& displayName, const AppError& error) {
    shortcutFailed_ = true;
    out_.Line(Joined({L"failed: ", displayName, L": ", ErrorText(error)}));
}

void CreateReport::SettingSaved(const std::wstring& valueName, const std::wstring& text, bool stored) {
    if (keepsSettings_) TellSetting(valueName, text, stored);
}

void CreateReport::TellSetting(const std::wstring& valueName, const std::wstring& text, bool stored) {
    if (!stored) ++notSaved_;
    out_.Line(Joined({stored ? L"saved: " : L"not saved: ", valueName, L" = ", text}));
}

void CreateReport::ShortcutsCreated(const LaunchTarget& target) {
    created_ = true;
    serverDir_ = target.ServerDir;
}

void CreateReport::ErrorReported(const AppError& error) {
    if (!shortcutFailed_) out_.Line(Joined({L"error: ", ErrorText(error)}));
}

int CreateReport::Outcome() const {
    if (!created_) return Unfinished();
    const std::wstring written = Joined({DecimalText(written_), L" shortcuts written for ", serverDir_});
    if (!keepsSettings_) return Finish(out_, kExitDone, {written, L" for every user"});
    if (notSaved_ == 0) return Finish(out_, kExitDone, {written, L", settings saved"});
    return Finish(out_, kExitSettingNotSaved, {written, L", ", DecimalText(notSaved_), L" of the settings not saved"});
}

int CreateReport::Unfinished() const {
    if (launcherMissing_) return Finish(out_, kExitNotFound, {L"launcher not found; nothing written"});
    if (shortcutFailed_ || written_ > 0) {
        const wchar_t* settings = keepsSettings_ ? L" stay; settings not saved" : L" stay";
        return Finish(out_, kExitShortcutFailed, {L"a shortcut could not be written; the ", DecimalText(written_),
                                                  L" written before it", settings});
    }
    return Finish(out_, kExitNotFound, {L"the launcher could not be checked; nothing written"});
}

namespace {

// The choices a user makes in the window, in the order the window shows them.
void ApplyChoices(HeadlessForm& f, const UnattendedOptions& options) {
    if (options.language) f.Lang.SetListIndex(*options.language);
    if (options.edition) f.App.SetListIndex(*options.edition);
    if (options.platform) f.Platform.Select(*options.platform);
    if (options.desktop) f.Icona.SetValue(*options.desktop ? CheckBox::kChecked : CheckBox::kCleared);
}

// The drive in the drive list, then the folder in the folder list.
bool MoveToFolder(HeadlessForm& f, const std::wstring& folder, OutputLines& out) {
    try {
        f.Drive1.SetDrive(folder.substr(0, 2));
        f.Dir1.SetPath(AsTheDiskSpellsIt(f.services.files, folder));
        return true;
    } catch (const AppError& error) {
        out.Line(Joined({L"not found: ", folder, L": ", ErrorText(error)}));
        return false;
    }
}

const wchar_t* PlatformText(const OptionGroup& platform) {
    for (std::int16_t i = 0; i < platform.Count(); ++i) {
        if (platform.Value(i)) return DesignOf(kPlatformButtons[static_cast<std::size_t>(i)]).designText;
    }
    return L"no platform";
}

std::wstring ChoicesLine(const HeadlessForm& f) {
    const std::int16_t language = f.Lang.ListIndex();
    const wchar_t* languageName = language >= 0 && language < static_cast<std::int16_t>(kLanguageNames.size())
                                      ? kLanguageNames[static_cast<std::size_t>(language)]
                                      : L"none";
    return Joined({L"choices: ", f.App.Text(), L", ", PlatformText(f.Platform), L", folder ", f.Dir1.Path(),
                   L", desktop shortcut ", f.Icona.Value() != CheckBox::kCleared ? L"yes" : L"no", L", language ",
                   languageName});
}

}  // namespace

int RunCreateSteps(HeadlessForm& f, const UnattendedOptions& options, OutputLines& out, CreateReport& report) {
    return Guarded(out, [&] {
        f.form.Observe(report);
        if (!f.form.Dispatch(FormEvent::Load)) return Finish(out, kExitUnexpected, {L"start-up failed"});
        ApplyChoices(f, options);
        if (options.folder && !MoveToFolder(f, *options.folder, out)) {
            return Finish(out, kExitNotFound, {L"the server folder cannot be shown; nothing written"});
        }
        if (options.scan) {
            if (!f.form.Dispatch(FormEvent::SearchClick) || report.ScanFoundNothing()) {
                return Finish(out, kExitNotFound, {L"no drive holds the launcher; nothing written"});
            }
            out.Line(Joined({L"found: ", f.Dir1.Path()}));
        }
        out.Line(ChoicesLine(f));
        f.form.Dispatch(FormEvent::IntroClick);
        return report.Outcome();
    });
}

int RunCreate(const FormServices& services, const StartingPoint& start, const UnattendedOptions& options,
              OutputLines& out) {
    HeadlessForm form(services, start, options.allUsers);
    CreateReport report(out, !options.allUsers);
    return RunCreateSteps(form, options, out, report);
}

}  // namespace zoriza
