// Form1: the program's one window, its controls and its event handlers.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "main_window/command_outcomes.h"
#include "platform/environment.h"
#include "platform/base/error.h"
#include "platform/file_system.h"
#include "platform/language_id.h"
#include "platform/registry.h"
#include "platform/shell_links.h"
#include "platform/window_toolkit.h"
#include "shortcuts/shortcuts.h"

namespace zoriza {

// The window and its controls, named as the form names them. The frames and
// command buttons appear only through their captions.
struct FormControls {
    Window& form;
    ListBox& Lang;
    ListBox& App;
    Captioned& Frame1;
    Captioned& Search;
    DriveList& Drive1;
    FolderList& Dir1;
    Captioned& Frame2;
    OptionGroup& Platform;
    Captioned& Frame3;
    CheckBox& Icona;
    Captioned& Intro;
};

// Everything outside the window that the handlers reach.
struct FormServices {
    FileSystem& files;
    Environment& environment;
    LanguageIdSource& languageIds;
    Registry& registry;
    ShellLinks& shell;
};

// The error report's text: what was being done, then "Error N: description".
std::wstring ErrorReportText(const AppError& error);

enum class FormEvent { Load, LangClick, DriveChange, SearchClick, IntroClick };

class Form1 {
public:
    Form1(const FormControls& controls, const FormServices& services);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Runs the handler of an event that the user (or the program's start)
    // raised. An error that escapes it is shown in the error report and the
    // window stays; the result says whether the handler ran to its end.
    bool Dispatch(FormEvent event);

    // Key preview: sees every character before the focused control does.
    void Form_KeyPress(std::int16_t& KeyAscii);

    void Form_Load();
    void Lang_Click();
    void Drive1_Change();
    void Search_Click();
    void Intro_Click();

    // The commands behind the handlers, each returning what it did. They
    // show nothing; an error they do not account for escapes them.
    StartUpOutcome StartUp();
    // Moves the lists to the first drive's edition folder holding the launcher.
    ScanOutcome Scan();
    CreatePlan PlanCreate() const;
    CreateOutcome Create(CreateProgress& progress);
    // Whether the plan's launcher is there.
    LauncherFinding FindLauncher(const CreatePlan& plan);

    // The error report: a message box titled "ZORIZA" with the error's
    // number and description, and what was being done when it failed.
    void ReportError(const AppError& error);

private:
    void RunHandler(FormEvent event);

    void SelectDetectedLanguage();
    void OfferPlatforms();
    void RestoreSavedChoices(std::vector<PassedOverSetting>& passedOver);
    void RestoreSetting(const wchar_t* valueName, std::vector<PassedOverSetting>& passedOver,
                        const std::function<void(const std::wstring&)>& apply);
    void RestoreFolder(const std::wstring& text);
    void ReturnToFolder(const std::wstring& folder);

    LaunchTarget CurrentLaunchTarget() const;
    bool IsNormalFile(const std::wstring& path);
    // The first of `launchers` (one per drive) that is there, in a folder
    // the scan may take; launchers.size() when there is none.
    // A folder holding it that another user made goes to `passedOver`.
    std::size_t FirstTrustedHolding(const std::vector<std::wstring>& drives, const std::vector<std::wstring>& launchers,
                                    const std::wstring& appCode, std::vector<std::wstring>& passedOver);
    void ShowNotFound(const std::wstring& text);
    // False when a shortcut failed, and the command stops there.
    bool WriteShortcuts(std::vector<ShortcutResult>& shortcuts, CreateProgress& progress);

    FormControls c_;
    FormServices services_;
};

}  // namespace zoriza
