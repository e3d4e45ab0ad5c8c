// /create: the window's start-up gives the defaults, the switches are applied
// as a user would choose them, then CREAR runs; each step is told as a line.
#include "localisation/catalogue.h"
#include "main_window/layout.h"
#include "platform/base/text.h"
#include "unattended/run_report.h"
#include "unattended/unattended.h"

namespace zoriza {

namespace {

class CreateReport : public StartUpReport {
public:
    using StartUpReport::StartUpReport;

    void ScanFoundNothing(const std::wstring& candidate) override {
        scanFoundNothing_ = true;
        out_.Line(Joined({L"not found: no drive holds ", candidate}));
    }
    void LauncherMissing(const std::wstring& testedPath) override {
        launcherMissing_ = true;
        out_.Line(Joined({L"not found: ", testedPath}));
    }
    void ShortcutWritten(const std::wstring& linkPath, const PlannedShortcut& shortcut, bool unchanged) override {
        ++written_;
        const wchar_t* space = shortcut.linkArgs.empty() ? L"" : L" ";
        out_.Line(Joined({unchanged ? L"unchanged: " : L"written: ", linkPath, L" -> ", shortcut.target, space,
                          shortcut.linkArgs}));
    }
    void ShortcutFailed(const std::wstring& displayName, const AppError& error) override {
        shortcutFailed_ = true;
        out_.Line(Joined({L"failed: ", displayName, L": ", ErrorText(error)}));
    }
    void SettingSaved(const std::wstring& valueName, const std::wstring& text, bool stored) override {
        if (!stored) ++notSaved_;
        out_.Line(Joined({stored ? L"saved: " : L"not saved: ", valueName, L" = ", text}));
    }
    void ShortcutsCreated(const LaunchTarget& target) override {
        created_ = true;
        serverDir_ = target.ServerDir;
    }
    void ErrorReported(const AppError& error) override {
        if (!shortcutFailed_) out_.Line(Joined({L"error: ", ErrorText(error)}));
    }

    bool ScanFoundNothing() const { return scanFoundNothing_; }
    // How the create command ended, once it has run.
    int Outcome() const {
        const std::wstring written = DecimalText(written_);
        const std::wstring notSaved = DecimalText(notSaved_);
        if (created_ && notSaved_ == 0) {
            return Finish(out_, kExitDone, {written, L" shortcuts written for ", serverDir_, L", settings saved"});
        }
        if (created_) {
            return Finish(out_, kExitSettingNotSaved, {written, L" shortcuts written for ", serverDir_, L", ", notSaved,
                                                       L" of the settings not saved"});
        }
        if (launcherMissing_) return Finish(out_, kExitNotFound, {L"launcher not found; nothing written"});
        if (shortcutFailed_ || written_ > 0) {
            return Finish(out_, kExitShortcutFailed, {L"a shortcut could not be written; the ", written,
                                                      L" written before it stay; settings not saved"});
        }
        return Finish(out_, kExitNotFound, {L"the launcher could not be checked; nothing written"});
    }

private:
    bool scanFoundNothing_ = false;
    bool launcherMissing_ = false;
    bool shortcutFailed_ = false;
    bool created_ = false;
    int written_ = 0;
    int notSaved_ = 0;
    std::wstring serverDir_;
};

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
        f.Dir1.SetPath(folder);
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

int RunCreate(HeadlessForm& f, const UnattendedOptions& options, OutputLines& out) {
    return Guarded(out, [&] {
        CreateReport report(out);
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

}  // namespace zoriza
