// The unattended mode: ZORIZA.exe run with switches by a logon script, Group
// Policy or a device manager. It runs the window's own form without a window:
// start-up gives the defaults, the switches are applied as a user would choose,
// and the create command runs; or it removes what the create command writes.
// Every action is told as one line; the exit code says how it ended.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "main_window/main_window.h"
#include "platform/headless/headless_controls.h"
#include "platform/headless/headless_folder_list.h"

namespace zoriza {

// ---- The command line ----------------------------------------------------

enum class RunMode { Window, Create, Check, Remove, Help };

// The choices the switches make; a choice left out keeps the window's default.
struct UnattendedOptions {
    std::optional<std::int16_t> edition;   // index in the edition list
    std::optional<std::wstring> folder;    // "F:\VekPro"
    bool scan = false;
    std::optional<std::int16_t> platform;  // 0 "16 bit", 1 "32 bit", 2 "64 bit"
    std::optional<bool> desktop;
    std::optional<std::int16_t> language;  // index in the language list
    bool allUsers = false;                 // every user's folders, and no setting
    std::optional<std::wstring> logFile;   // empty: a file of its own in %TEMP%
};

struct CommandLine {
    RunMode mode = RunMode::Window;
    UnattendedOptions options;
    std::wstring usageError;  // why the command line was refused; empty when it was not

    // Whether the program works without its window: with a command, or to
    // refuse switches that make none.
    bool Unattended() const { return mode != RunMode::Window || !usageError.empty(); }
};

// The arguments after the program's name. Without a switch among them (none
// at all, or a file dropped on the program) they are the window, which reads
// no arguments.
CommandLine ParseCommandLine(const std::vector<std::wstring>& arguments);

// What /? prints, one line each.
std::span<const wchar_t* const> UsageLines();

// ---- Exit codes ----------------------------------------------------------

enum ExitCode : int {
    kExitDone = 0,
    kExitUsageError = 1,       // nothing done
    kExitNotFound = 2,         // no launcher at the folder, or none found by the scan: nothing written
    kExitShortcutFailed = 3,   // a shortcut could not be written or removed; those before it stay
    kExitSettingNotSaved = 4,  // the shortcuts are written, a setting is not saved
    kExitUnexpected = 5,       // an error nobody foresaw; what was done before it stays
    kExitNotInPlace = 6,       // /check: something is missing or differs; /create puts it in place
    kExitNotAdministrator = 7, // /allusers without administrator rights: nothing done
};

// ---- Running -------------------------------------------------------------

// Where the lines go: the standard output, the parent's console, a log file.
class OutputLines {
public:
    virtual ~OutputLines() = default;
    virtual void Line(const std::wstring& text) = 0;
};

// Where a run starts, as the window does: the drive list holds `drives`
// ("c:", "f:", ... in the system's order) and both lists start on `folder`,
// the process's current folder.
struct StartingPoint {
    std::vector<std::wstring> drives;
    std::wstring folder;
};

// The registry of a run for every user: it holds no setting and keeps none.
class NoSettings : public Registry {
public:
    RegistryStatus OpenKey(RegistryRoot, const std::wstring&, std::uint32_t, RegistryKey&) override {
        return kRegistryFileNotFound;
    }
    RegistryStatus CreateKey(RegistryRoot, const std::wstring&, RegistryKey&) override { return kRegistryAccessDenied; }
    RegistryStatus QueryValue(const RegistryKey&, const std::wstring&, std::uint32_t&, std::uint8_t*,
                              std::uint32_t&) override {
        return kRegistryFileNotFound;
    }
    RegistryStatus SetValue(const RegistryKey&, const std::wstring&, std::uint32_t,
                            std::span<const std::uint8_t>) override {
        return kRegistryAccessDenied;
    }
    std::wstring DecodeAnsi(std::span<const std::uint8_t>) const override { return {}; }

private:
    RegistryStatus CloseKey(RegistryKey::Handle) override { return kRegistrySuccess; }
};

// Form1 on controls that hold their values. With `everyUser`, the form
// reads and saves no setting.
struct HeadlessForm {
    HeadlessForm(const FormServices& services, const StartingPoint& start, bool everyUser = false);

    NoSettings noSettings;
    FormServices services;
    HeadlessWindow window;
    HeadlessListBox Lang;
    HeadlessListBox App;
    HeadlessCaption Frame1;
    HeadlessCaption Search;
    HeadlessDriveList Drive1;
    HeadlessFolderList Dir1;
    HeadlessCaption Frame2;
    HeadlessOptionGroup Platform;
    HeadlessCaption Frame3;
    HeadlessCheckBox Icona;
    HeadlessCaption Intro;
    Form1 form;
};

// What CREAR does with the window's defaults and the options' choices.
int RunCreate(const FormServices& services, const StartingPoint& start, const UnattendedOptions& options,
              OutputLines& out);

// Whether what the create command would write is there: every shortcut with
// all its fields, the subfolder and the settings. Writes nothing.
int RunCheck(const FormServices& services, const StartingPoint& start, const UnattendedOptions& options,
             OutputLines& out);

// The command `mode` names: RunCreate, RunCheck or RunRemove.
int RunCommand(RunMode mode, const FormServices& services, const StartingPoint& start,
               const UnattendedOptions& options, OutputLines& out);

// Removes every shortcut the create command may have written for the chosen
// (or the window's default) edition, in any language, and its Programs
// subfolder when nothing else is left in it. A shortcut of such a name that
// points elsewhere is the user's own and stays. The settings stay.
int RunRemove(const FormServices& services, const StartingPoint& start, const UnattendedOptions& options,
              OutputLines& out);

}  // namespace zoriza
