// The steps every command takes before its own: the window's start-up, the
// switches applied as a user would choose them, and the scan when asked, each
// told as a line.
#include "unattended/prepared_form.h"

#include "localisation/catalogue.h"
#include "main_window/layout.h"
#include "platform/base/text.h"
#include "unattended/server_folder_spelling.h"

namespace zoriza {

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

// The scan, told as lines; false when it found no folder to go on with.
bool ScanFinds(HeadlessForm& f, OutputLines& out) {
    try {
        const ScanOutcome scan = f.form.Scan();
        for (const std::wstring& folder : scan.passedOver) {
            out.Line(Joined({L"passed over: ", folder, L" (made by another user, not an administrator)"}));
        }
        out.Line(scan.found ? Joined({L"found: ", *scan.found})
                            : Joined({L"not found: no drive holds ", scan.candidate}));
        return scan.found.has_value();
    } catch (const AppError& error) {
        out.Line(ErrorLine(error));
        return false;
    }
}

}  // namespace

std::optional<RunEnd> StartForm(HeadlessForm& f, OutputLines& out) {
    try {
        TellPassedOver(f.form.StartUp(), out);
        return std::nullopt;
    } catch (const AppError& error) {
        out.Line(ErrorLine(error));
        return EndOf(EarlyEnd::StartUpFailed);
    }
}

std::optional<RunEnd> PrepareForm(HeadlessForm& f, const UnattendedOptions& options, OutputLines& out) {
    if (std::optional<RunEnd> ended = StartForm(f, out)) return ended;
    ApplyChoices(f, options);
    if (options.folder && !MoveToFolder(f, *options.folder, out)) return EndOf(EarlyEnd::FolderNotShown);
    if (options.scan && !ScanFinds(f, out)) return EndOf(EarlyEnd::NoDriveHoldsTheLauncher);
    out.Line(ChoicesLine(f));
    return std::nullopt;
}

}  // namespace zoriza
