// Start-up: the language guess, the first edition, the platform options from
// the environment, then the choices saved by the last successful create command.
#include "localisation/catalogue.h"
#include "main_window/main_window.h"
#include "settings/settings_store.h"

namespace zoriza {

namespace {

enum PlatformIndex : std::int16_t { k16Bit = 0, k32Bit = 1, k64Bit = 2 };

std::int16_t LangIndexOf(const std::wstring& language) {
    if (language == kGalician) return 1;
    if (language == kAranese) return 2;
    if (language == kSpanish) return 3;
    return 0;
}

}  // namespace

void Form1::Form_Load() { StartUp(); }

StartUpOutcome Form1::StartUp() {
    SelectDetectedLanguage();
    c_.App.SetListIndex(0);
    OfferPlatforms();
    StartUpOutcome outcome;
    RestoreSavedChoices(outcome.passedOver);
    return outcome;
}

void Form1::SelectDetectedLanguage() {
    c_.Lang.SetListIndex(LangIndexOf(DetectLanguage(services_.languageIds)));
}

// A 64-bit Windows defines "ProgramFiles(x86)"; a 32-bit one only "ProgramFiles".
void Form1::OfferPlatforms() {
    const bool windows64 = !services_.environment.Variable(L"ProgramFiles(x86)").empty();
    const bool windows32 = windows64 || !services_.environment.Variable(L"ProgramFiles").empty();
    c_.Platform.SetEnabled(k16Bit, !windows64);
    c_.Platform.SetEnabled(k32Bit, windows32);
    c_.Platform.SetEnabled(k64Bit, windows64);
    c_.Platform.Select(windows64 ? k64Bit : windows32 ? k32Bit : k16Bit);
}

void Form1::RestoreSavedChoices(std::vector<PassedOverSetting>& passedOver) {
    RestoreSetting(kLanguageSetting, passedOver,
                   [this](const std::wstring& text) { c_.Lang.SetListIndex(ReadSavedNumber(text)); });
    RestoreSetting(kEditionSetting, passedOver,
                   [this](const std::wstring& text) { c_.App.SetListIndex(ReadSavedNumber(text)); });
    RestoreSetting(kFolderSetting, passedOver, [this](const std::wstring& text) { RestoreFolder(text); });
    RestoreSetting(kPlatformSetting, passedOver,
                   [this](const std::wstring& text) { c_.Platform.Select(ReadSavedNumber(text)); });
    RestoreSetting(kDesktopIconSetting, passedOver,
                   [this](const std::wstring& text) { c_.Icona.SetValue(ReadSavedNumber(text)); });
}

// An empty text means nothing was saved. A saved value that its control
// rejects is passed over, so that it can never keep the window from opening;
// the stored text is left as it is.
void Form1::RestoreSetting(const wchar_t* valueName, std::vector<PassedOverSetting>& passedOver,
                           const std::function<void(const std::wstring&)>& apply) {
    const std::wstring text = RegGetString(services_.registry, kDefaultRoot, kSettingsKey, valueName);
    if (text.empty()) return;
    try {
        apply(text);
    } catch (const AppError& error) {
        passedOver.push_back({valueName, text, error});
    }
}

void Form1::RestoreFolder(const std::wstring& text) {
    const std::wstring before = c_.Dir1.Path();
    try {
        c_.Drive1.SetDrive(text.substr(0, 2));
        c_.Dir1.SetPath(text);
    } catch (const AppError&) {
        ReturnToFolder(before);
        throw;
    }
}

// Puts both lists back on `folder` after a move that could not be completed.
void Form1::ReturnToFolder(const std::wstring& folder) {
    try {
        c_.Dir1.SetPath(folder);
    } catch (const AppError&) {
        // The folder went away meanwhile: the lists stay where they are.
    }
    c_.Drive1.ShowDrive(c_.Dir1.Path());
}

}  // namespace zoriza
