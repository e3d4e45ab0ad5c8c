// The unattended mode over the platform held in memory: the window's form on
// headless controls, with the switches applied as a user would choose, and
// the lines and exit code each outcome gives.
#include <gtest/gtest.h>

#include <algorithm>

#include "localisation/catalogue.h"
#include "main_window/shortcut_plan.h"
#include "platform/base/error.h"
#include "tests/memory_platform/memory_environment.h"
#include "tests/memory_platform/memory_file_system.h"
#include "tests/memory_platform/memory_registry.h"
#include "tests/memory_platform/memory_shell_links.h"
#include "settings/settings_store.h"
#include "tests/shared/translations.h"
#include "tests/shared/worked_example.h"
#include "unattended/run_report.h"
#include "unattended/unattended.h"

namespace zoriza::testing {
namespace {

using namespace zoriza::expected;

constexpr wchar_t kDesktop[] = L"C:\\Users\\ana\\Desktop";
constexpr wchar_t kPrograms[] = L"C:\\Users\\ana\\Programs";

struct Lines : OutputLines {
    void Line(const std::wstring& text) override { all.push_back(text); }
    std::size_t Count(const std::wstring& prefix) const {
        return static_cast<std::size_t>(std::count_if(all.begin(), all.end(), [&](const std::wstring& line) {
            return line.rfind(prefix, 0) == 0;
        }));
    }
    std::vector<std::wstring> all;
};

std::wstring InPrograms(const std::wstring& name) { return std::wstring(kPrograms) + L"\\" + name + L".lnk"; }

// Drives c:, d: (absent), f: and g:; a 64-bit Windows in Catalan; the server
// folder F:\VekPro with both launchers; the process started in C:\Work.
class UnattendedTest : public ::testing::Test {
protected:
    UnattendedTest() {
        CurrentLanguage.clear();
        MaximizeWindow = kFalse;
        files.AddDrive(L"C:");
        files.AddDrive(L"F:");
        files.AddDrive(L"G:");
        files.AddFolder(kDesktop);
        files.AddFolder(kPrograms);
        files.AddFolder(L"C:\\Work");
        files.AddFile(L"F:\\VekPro\\VEKBIN.BAT");
        files.AddFile(L"F:\\VekPro\\VEKPRO.BAT");
        environment.Set(L"ProgramFiles(x86)", L"C:\\Program Files (x86)");
    }

    int Create(const std::vector<std::wstring>& arguments) { return Run(L"/create", arguments); }
    int Check(const std::vector<std::wstring>& arguments) { return Run(L"/check", arguments); }
    int Remove(const std::vector<std::wstring>& arguments) { return Run(L"/remove", arguments); }

    int Run(const wchar_t* command, std::vector<std::wstring> arguments) {
        arguments.insert(arguments.begin(), command);
        const CommandLine parsed = ParseCommandLine(arguments);
        EXPECT_EQ(parsed.usageError, L"");
        out = Lines();
        const FormServices services{files, environment, languageIds, registry, shell};
        return RunCommand(parsed.mode, services, {{L"c:", L"d:", L"f:", L"g:"}, L"C:\\Work"}, parsed.options, out);
    }

    std::wstring Saved(const wchar_t* name) { return RegGetString(registry, kDefaultRoot, kSettingsKey, name); }
    void Save(const wchar_t* name, const std::wstring& text) {
        RegSetString(registry, kDefaultRoot, kSettingsKey, name, text);
    }

    // The shortcuts saved that are still there (a denied one is).
    std::vector<std::wstring> LinksSaved() {
        std::vector<std::wstring> paths;
        for (const auto& [path, fields] : shell.Saved()) {
            try {
                if (files.FirstMatch(path, EntryKinds::NormalFiles) != L"") paths.push_back(path);
            } catch (const AppError&) {
                paths.push_back(path);
            }
        }
        return paths;
    }

    MemoryFileSystem files;
    MemoryEnvironment environment;
    MemoryLanguageId languageIds{0x0403};
    MemoryRegistry registry;
    MemoryShellLinks shell{files, kDesktop, kPrograms};
    Lines out;
};

TEST_F(UnattendedTest, TheWorkedExampleThroughSwitches) {
    ASSERT_EQ(Create({L"/edition:VekPro", L"/folder:F:\\VekPro", L"/platform:32", L"/desktop:yes", L"/lang:ca"}),
              kExitDone);
    std::vector<std::wstring> expectedOrder;
    for (const ExpectedShortcut& e : kWorkedExampleShortcuts) {
        const std::wstring path =
            std::wstring(e.folder == LinkFolder::Desktop ? kDesktop : kPrograms) + L"\\" + e.name + L".lnk";
        expectedOrder.push_back(path);
        ASSERT_EQ(shell.Saved().count(path), 1u) << path;
        const SavedShortcut& saved = shell.Saved().at(path);
        EXPECT_EQ(saved.targetPath, e.target) << path;
        EXPECT_EQ(saved.iconLocation, e.icon) << path;
        EXPECT_EQ(saved.arguments, e.arguments) << path;
        EXPECT_EQ(saved.workingDirectory, e.workingFolder) << path;
        EXPECT_EQ(saved.windowStyle, e.showCommand) << path;
        EXPECT_EQ(saved.appUserModelId, e.appUserModelId) << path;
        const std::wstring arguments = *e.arguments == L'\0' ? L"" : L" " + std::wstring(e.arguments);
        EXPECT_EQ(std::count(out.all.begin(), out.all.end(), L"written: " + path + L" -> " + e.target + arguments), 1)
            << path;
    }
    EXPECT_EQ(shell.SavedInOrder(), expectedOrder);
    std::vector<std::wstring> savedNames;
    for (const ExpectedSetting& setting : kWorkedExampleSettings) {
        savedNames.push_back(setting.name);
        EXPECT_EQ(Saved(setting.name), setting.text) << setting.name;
        EXPECT_EQ(std::count(out.all.begin(), out.all.end(),
                             L"saved: " + std::wstring(setting.name) + L" = " + setting.text),
                  1)
            << setting.name;
    }
    EXPECT_EQ(registry.WrittenNames(), savedNames);
    EXPECT_EQ(out.all.front(), L"choices: VekPro Professional, 32 bit, folder F:\\VekPro, desktop shortcut yes, "
                               L"language Catal\u00e0");
    EXPECT_EQ(out.all.size(), 1u + 8u + 5u + 1u);
    EXPECT_EQ(out.all.back(), L"exit 0: 8 shortcuts written for F:\\VekPro\\, settings saved");
    // The shell hears of the subfolder and of each shortcut.
    ASSERT_EQ(shell.Notices().size(), 9u);
    EXPECT_EQ(shell.Notices()[1], (MemoryShellLinks::Notice{ShellChange::FolderCreated, std::wstring(kPrograms) + L"\\VekPro"}));

    // The logon repair the next day: every shortcut is already right, and none is written again.
    out.all.clear();
    ASSERT_EQ(Create({L"/edition:VekPro", L"/folder:F:\\VekPro", L"/platform:32", L"/desktop:yes", L"/lang:ca"}),
              kExitDone);
    EXPECT_EQ(out.Count(L"unchanged: "), 8u);
    EXPECT_EQ(out.Count(L"written: "), 0u);
    EXPECT_EQ(shell.SavedInOrder(), expectedOrder);
    EXPECT_EQ(shell.Notices().size(), 9u);
    EXPECT_EQ(out.all.back(), L"exit 0: 8 shortcuts written for F:\\VekPro\\, settings saved");
}

// A logon script's repair: no switch at all, everything from the saved settings.
TEST_F(UnattendedTest, NoSwitchesRestoreTheSavedChoices) {
    Save(kLanguageSetting, L"3");
    Save(kEditionSetting, L"0");
    Save(kFolderSetting, L"F:\\VekPro");
    Save(kPlatformSetting, L"0");
    Save(kDesktopIconSetting, L"1");
    ASSERT_EQ(Create({}), kExitDone);
    EXPECT_EQ(out.all.front(), L"choices: VekPro Profesional, 16 bit, folder F:\\VekPro, desktop shortcut yes, "
                               L"language Castellano");
    EXPECT_EQ(shell.Saved().at(std::wstring(kDesktop) + L"\\VekPro Profesional.lnk").targetPath,
              L"F:\\VekPro\\VEKPRO.BAT");
    EXPECT_EQ(shell.Saved().at(InPrograms(L"VekPro\\Reordenar ficheros")).arguments, L"BIN16/ZEMBRADO.EXE");
    EXPECT_EQ(shell.Saved().count(InPrograms(L"VekPro\\Calendario")), 1u);
    EXPECT_EQ(shell.Saved().size(), 8u);
    EXPECT_EQ(Saved(kLanguageSetting), L"3");
    EXPECT_EQ(Saved(kPlatformSetting), L"0");
}

// Without saved settings the window's start-up rules decide: the language of
// the locale, the first edition, the platform of the environment, no desktop
// shortcut. A switch overrides one choice and keeps the others.
TEST_F(UnattendedTest, DefaultsFollowTheStartUpRulesAndASwitchOverridesOne) {
    languageIds.Set(0x0456);
    ASSERT_EQ(Create({L"/folder:F:\\VekPro"}), kExitDone);
    EXPECT_EQ(out.all.front(), L"choices: VekPro Profesional, 64 bit, folder F:\\VekPro, desktop shortcut no, "
                               L"language Galego");
    EXPECT_EQ(shell.Saved().size(), 7u);
    EXPECT_EQ(shell.Saved().count(InPrograms(L"VekPro\\Calend\u00e1rio")), 1u);
    ASSERT_EQ(Create({L"/lang:oc", L"/desktop:yes"}), kExitDone);  // the folder is saved now
    EXPECT_EQ(out.all.front(), L"choices: VekPro Professionau, 64 bit, folder F:\\VekPro, desktop shortcut yes, "
                               L"language Aran\u00e9s");
    EXPECT_EQ(Saved(kLanguageSetting), L"2");
}

TEST_F(UnattendedTest, SavedValuesTheWindowPassesOverArePassedOverAndTold) {
    Save(kLanguageSetting, L"7");
    Save(kFolderSetting, L"D:\\VekPro");
    Save(kDesktopIconSetting, L"1");
    ASSERT_EQ(Create({L"/folder:F:\\VekPro"}), kExitDone);
    EXPECT_EQ(out.all[0], L"passed over: saved Idioma \"7\": Error 380: Invalid property value");
    // D: is listed but its target has gone: its root shows nothing, its folder is not there.
    EXPECT_EQ(out.all[1], L"passed over: saved Directori \"D:\\VekPro\": Error 76: Path not found");
    EXPECT_EQ(out.all[2], L"choices: VekPro Professional, 64 bit, folder F:\\VekPro, desktop shortcut yes, "
                          L"language Catal\u00e0");
}

TEST_F(UnattendedTest, TheScanTakesTheFirstDriveHoldingTheLauncher) {
    files.AddFile(L"G:\\VekCom\\VEKBIN.BAT");
    files.AddFile(L"C:\\VekPro\\VEKBIN.BAT", {true, false});  // hidden: not found
    ASSERT_EQ(Create({L"/edition:VekCom", L"/scan"}), kExitDone);
    EXPECT_EQ(out.all[0], L"found: G:\\VekCom");
    EXPECT_EQ(Saved(kFolderSetting), L"G:\\VekCom");
    EXPECT_EQ(shell.Saved().at(InPrograms(L"VekCom\\VekCom Comercial")).targetPath, L"G:\\VekCom\\VEKBIN.BAT");
}

// Exit 2: nothing written, nothing saved, the lines say what was looked for.
TEST_F(UnattendedTest, NoLauncherWritesNothing) {
    files.AddFolder(L"G:\\VekPro");
    files.AddFile(L"F:\\Locked\\VEKBIN.BAT");
    files.DenyAccess(L"F:\\Locked\\VEKBIN.BAT");
    struct Case {
        std::vector<std::wstring> arguments;
        std::wstring notFound;
        std::wstring exitLine;
    };
    const Case cases[] = {
        {{L"/folder:G:\\VekPro"}, L"not found: G:\\VekPro\\VEKBIN.BAT", L"exit 2: launcher not found; nothing written"},
        {{L"/folder:G:\\VekPro", L"/platform:16"}, L"not found: G:\\VekPro\\VEKPRO.BAT",
         L"exit 2: launcher not found; nothing written"},
        {{L"/folder:G:\\Missing"}, L"not found: G:\\Missing: Error 76: Path not found",
         L"exit 2: the server folder cannot be shown; nothing written"},
        {{L"/folder:E:\\VekPro"}, L"not found: E:\\VekPro: Error 68: Device unavailable",
         L"exit 2: the server folder cannot be shown; nothing written"},
        {{L"/folder:F:\\Locked"}, L"error: Error 75: Path/File access error",
         L"exit 2: the launcher could not be checked; nothing written"},
        {{L"/edition:VekNom", L"/scan"}, L"not found: no drive holds VekNom\\VEKBIN.BAT",
         L"exit 2: no drive holds the launcher; nothing written"},
        {{}, L"not found: C:\\Work\\VEKBIN.BAT", L"exit 2: launcher not found; nothing written"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Create(c.arguments), kExitNotFound) << c.notFound;
        EXPECT_EQ(out.Count(c.notFound), 1u) << c.notFound;
        EXPECT_EQ(out.all.back(), c.exitLine) << c.notFound;
        EXPECT_TRUE(shell.Saved().empty()) << c.notFound;
        EXPECT_TRUE(registry.WrittenNames().empty()) << c.notFound;
    }
}

TEST_F(UnattendedTest, AShortcutThatCannotBeWrittenStopsTheCommand) {
    shell.FailSaving(InPrograms(L"VekPro\\Gesti\u00f3 de bloquejos"));
    ASSERT_EQ(Create({L"/folder:F:\\VekPro", L"/desktop:yes"}), kExitShortcutFailed);
    EXPECT_EQ(shell.Saved().size(), 4u);
    EXPECT_TRUE(registry.WrittenNames().empty());
    EXPECT_EQ(out.Count(L"written: "), 4u);
    EXPECT_EQ(out.all[out.all.size() - 2],
              L"failed: Programs\\VekPro\\Gesti\u00f3 de bloquejos.lnk: Error -2147024891: Access denied.");
    EXPECT_EQ(out.all.back(),
              L"exit 3: a shortcut could not be written; the 4 written before it stay; settings not saved");
}

TEST_F(UnattendedTest, ASettingThatCannotBeSavedIsExitFour) {
    registry.FailWrites(true);
    ASSERT_EQ(Create({L"/folder:F:\\VekPro"}), kExitSettingNotSaved);
    EXPECT_EQ(shell.Saved().size(), 7u);
    EXPECT_EQ(out.Count(L"not saved: "), 5u);
    EXPECT_EQ(out.all.back(), L"exit 4: 7 shortcuts written for F:\\VekPro\\, 5 of the settings not saved");
}

// Whatever the language, edition and platform, every shortcut the plan writes
// is among the names /remove looks for.
TEST(RemovalNames, CoverEveryShortcutThePlanWrites) {
    for (std::int16_t edition = 0; edition < 4; ++edition) {
        const std::wstring key = kEditionCaptions[static_cast<std::size_t>(edition)];
        for (const bool sixteenBit : {false, true}) {
            const LaunchTarget target = ResolveLaunchTarget(edition, L"F:\\Vek", sixteenBit);
            const std::vector<ShortcutName> names = ShortcutNamesInEveryLanguage(target.AppCode, key);
            for (const wchar_t* language : kExpectedLanguageCodes) {
                CurrentLanguage = language;
                for (const PlannedShortcut& planned : ShortcutPlan(target, Translate(key), true)) {
                    EXPECT_NE(std::find(names.begin(), names.end(), ShortcutName{planned.location, planned.linkName}),
                              names.end())
                        << planned.linkName;
                }
            }
        }
    }
    CurrentLanguage.clear();
    // VekPro: 3 desktop names (Galego and Castellano share one), 3 in Programs,
    // and 20 tool names (Calculadora is one in all four languages, Calendari
    // one in Catalan and Aranese).
    EXPECT_EQ(ShortcutNamesInEveryLanguage(L"VekPro", kEditionCaptions[0]).size(), 3u + 3u + 20u);
}

// /remove after /create in two languages: every name goes, the user's own file
// keeps the subfolder, the settings stay; a second run finds nothing to do.
TEST_F(UnattendedTest, RemoveTakesWhatCreateWroteInEveryLanguage) {
    ASSERT_EQ(Create({L"/folder:F:\\VekPro", L"/desktop:yes", L"/lang:es"}), kExitDone);
    ASSERT_EQ(Create({L"/folder:F:\\VekPro", L"/desktop:yes", L"/lang:ca", L"/platform:16"}), kExitDone);
    files.AddFile(std::wstring(kPrograms) + L"\\VekPro\\notes.txt");
    files.AddFile(std::wstring(kPrograms) + L"\\VekFin\\Calculadora.lnk");
    files.AddFile(std::wstring(kDesktop) + L"\\Other.lnk");
    const std::size_t written = LinksSaved().size();
    ASSERT_EQ(written, 15u);  // 16 written, "Calculadora" the same in both languages
    const std::vector<std::wstring> settingsBefore = registry.WrittenNames();

    ASSERT_EQ(Remove({}), kExitDone);
    EXPECT_TRUE(LinksSaved().empty());
    EXPECT_EQ(out.Count(L"removed: "), written);
    EXPECT_EQ(out.Count(L"removed: " + InPrograms(L"VekPro\\Calendario") + L" -> F:\\VekPro\\VEKCAL.HTA"), 1u);
    EXPECT_EQ(out.all.back(), L"exit 0: 15 shortcuts removed");
    EXPECT_EQ(out.all[out.all.size() - 2], L"kept folder: " + std::wstring(kPrograms) + L"\\VekPro (other files are in it)");
    EXPECT_NE(files.FirstMatch(std::wstring(kPrograms) + L"\\VekPro\\notes.txt", EntryKinds::NormalFiles), L"");
    EXPECT_NE(files.FirstMatch(std::wstring(kPrograms) + L"\\VekFin\\Calculadora.lnk", EntryKinds::NormalFiles), L"");
    EXPECT_NE(files.FirstMatch(std::wstring(kDesktop) + L"\\Other.lnk", EntryKinds::NormalFiles), L"");
    EXPECT_EQ(registry.WrittenNames(), settingsBefore);
    EXPECT_EQ(Saved(kFolderSetting), L"F:\\VekPro");

    files.Remove(std::wstring(kPrograms) + L"\\VekPro\\notes.txt");
    ASSERT_EQ(Remove({}), kExitDone);
    EXPECT_EQ(out.all[out.all.size() - 2], L"removed folder: " + std::wstring(kPrograms) + L"\\VekPro");
    EXPECT_FALSE(files.FolderExists(std::wstring(kPrograms) + L"\\VekPro"));
    EXPECT_EQ(shell.Notices().back(),
              (MemoryShellLinks::Notice{ShellChange::FolderRemoved, std::wstring(kPrograms) + L"\\VekPro"}));
    ASSERT_EQ(Remove({}), kExitDone);
    EXPECT_EQ(out.all, (std::vector<std::wstring>{L"edition: VekPro Professional (VekPro)", L"exit 0: 0 shortcuts removed"}));
}

// /remove takes a shortcut under one of its names only when it points at
// something /create writes for the edition, on whatever server folder.
TEST_F(UnattendedTest, RemoveLeavesAShortcutThatPointsElsewhere) {
    const struct {
        const wchar_t* target;
        bool removed;
    } cases[] = {
        {L"F:\\VekPro\\VEKCALC.EXE", true},
        {L"G:\\Old server\\vekcalc.exe", true},
        {L"F:\\VekPro\\VEKPRO.BAT", true},  // the 16-bit launcher
        {L"F:\\VekPro\\VEKFIN.BAT", false},  // another edition's
        {L"C:\\Windows\\System32\\calc.exe", false},
        {L"VEKCALC.EXE", false},
    };
    const std::wstring calculator = InPrograms(L"VekPro\\Calculadora");
    for (const auto& c : cases) {
        ASSERT_EQ(Create({L"/folder:F:\\VekPro"}), kExitDone);
        MakeShortcut(shell, files, L"", c.target, L"VekPro\\Calculadora", L"calc.ico", L"", L"");
        ASSERT_EQ(Remove({}), kExitDone) << c.target;
        EXPECT_EQ(out.Count(L"removed: " + calculator), c.removed ? 1u : 0u) << c.target;
        EXPECT_EQ(out.Count(L"kept: " + calculator + L" -> " + c.target + L" (not a target ZORIZA writes)"),
                  c.removed ? 0u : 1u)
            << c.target;
        EXPECT_EQ(LinksSaved(), c.removed ? std::vector<std::wstring>{} : std::vector<std::wstring>{calculator});
        files.Remove(calculator);
    }
}

// /check compares without writing: on a fresh profile everything is missing,
// after /create everything is in place, and other choices show each field
// and setting that differs.
TEST_F(UnattendedTest, CheckTellsWhatCreateWouldChangeAndWritesNothing) {
    const std::vector<std::wstring> worked = {L"/edition:VekPro", L"/folder:F:\\VekPro", L"/platform:32",
                                              L"/desktop:yes", L"/lang:ca"};
    ASSERT_EQ(Check(worked), kExitNotInPlace);
    EXPECT_EQ(out.Count(L"missing: "), 8u + 1u);
    EXPECT_EQ(out.Count(L"missing: " + std::wstring(kPrograms) + L"\\VekPro"), 8u);  // the folder, its seven
    EXPECT_EQ(out.Count(L"not saved: Idioma = 0 (none stored)"), 1u);
    EXPECT_EQ(out.all.back(), L"exit 6: 14 not in place for F:\\VekPro\\; /create puts them in place");
    EXPECT_TRUE(shell.Saved().empty());
    EXPECT_FALSE(files.FolderExists(std::wstring(kPrograms) + L"\\VekPro"));
    EXPECT_TRUE(registry.WrittenNames().empty());

    ASSERT_EQ(Create(worked), kExitDone);
    const std::size_t notices = shell.Notices().size();
    const std::vector<std::wstring> settings = registry.WrittenNames();
    ASSERT_EQ(Check(worked), kExitDone);
    EXPECT_EQ(out.Count(L"in place: "), 8u + 5u);
    EXPECT_EQ(out.all.back(), L"exit 0: everything in place for F:\\VekPro\\");

    ASSERT_EQ(Check({L"/platform:16"}), kExitNotInPlace);
    const std::wstring desktopLink = std::wstring(kDesktop) + L"\\VekPro Professional.lnk";
    EXPECT_EQ(out.Count(L"differs: " + desktopLink +
                        L": target \"F:\\VekPro\\VEKBIN.BAT\", should be \"F:\\VekPro\\VEKPRO.BAT\""),
              1u);
    EXPECT_EQ(out.Count(L"differs: " + InPrograms(L"VekPro\\Reordenar fitxers") +
                        L": arguments \"BIN/ZEMBRADO.EXE\", should be \"BIN16/ZEMBRADO.EXE\""),
              1u);
    EXPECT_EQ(out.Count(L"in place: " + InPrograms(L"VekPro\\Calculadora")), 1u);
    EXPECT_EQ(out.Count(L"not saved: Plataforma = 0 (stored: \"1\")"), 1u);
    EXPECT_EQ(out.all.back(), L"exit 6: 4 not in place for F:\\VekPro\\; /create puts them in place");

    ASSERT_EQ(Check({L"/folder:C:\\Work"}), kExitNotFound);
    EXPECT_EQ(shell.Notices().size(), notices);
    EXPECT_EQ(registry.WrittenNames(), settings);

    // A shortcut with every field but no AppUserModelID, as an earlier release wrote it.
    MaximizeWindow = kFalse;
    MakeShortcut(shell, files, L"", L"F:\\VekPro\\VEKCALC.EXE", L"VekPro\\Calculadora", L"IMATGES\\VEKCALC.ICO", L"",
                 L"");
    ASSERT_EQ(Check(worked), kExitNotInPlace);
    EXPECT_EQ(out.Count(L"differs: " + InPrograms(L"VekPro\\Calculadora") +
                        L": app id \"\", should be \"RuvoSoftware.VekPro.Calculadora\""),
              1u);
    EXPECT_EQ(out.all.back(), L"exit 6: 1 not in place for F:\\VekPro\\; /create puts them in place");
}

// One folder is one folder however the command line spells it: the disk's
// spelling is written and stored, and a check under another spelling finds
// everything in place.
TEST_F(UnattendedTest, TheFolderIsTakenAsTheDiskSpellsIt) {
    const std::vector<std::wstring> worked = {L"/edition:VekPro", L"/platform:32", L"/desktop:yes", L"/lang:ca"};
    const auto with = [&worked](const std::wstring& folder) {
        std::vector<std::wstring> arguments = worked;
        arguments.push_back(L"/folder:" + folder);
        return arguments;
    };
    ASSERT_EQ(Create(with(L"f:\\vekpro. ")), kExitDone);
    EXPECT_EQ(Saved(L"Directori"), L"F:\\VekPro");
    EXPECT_EQ(shell.Saved().at(InPrograms(L"VekPro\\Calculadora")).targetPath, L"F:\\VekPro\\VEKCALC.EXE");
    for (const wchar_t* spelling : {L"F:\\VekPro", L"F:\\VEKPRO", L"f:\\VekPro.", L"F:\\Other\\..\\vekPRO\\.\\"}) {
        ASSERT_EQ(Check(with(spelling)), kExitDone) << spelling << L": " << out.all.back();
    }
}

// For every user: no saved choice is read or saved; the defaults of a first
// start and the switches decide, and the check leaves the settings out.
TEST_F(UnattendedTest, EveryUsersShortcutsNeitherReadNorSaveSettings) {
    Save(kLanguageSetting, L"3");
    Save(kDesktopIconSetting, L"1");
    const std::vector<std::wstring> settings = registry.WrittenNames();
    ASSERT_EQ(Create({L"/allusers", L"/folder:F:\\VekPro"}), kExitDone);
    EXPECT_EQ(out.all.front(), L"choices: VekPro Professional, 64 bit, folder F:\\VekPro, desktop shortcut no, "
                               L"language Catal\u00e0");
    EXPECT_EQ(out.Count(L"saved: ") + out.Count(L"not saved: "), 0u);
    EXPECT_EQ(out.all.back(), L"exit 0: 7 shortcuts written for F:\\VekPro\\ for every user");
    EXPECT_EQ(registry.WrittenNames(), settings);
    ASSERT_EQ(Check({L"/allusers", L"/folder:F:\\VekPro"}), kExitDone);
    EXPECT_EQ(out.all.back(), L"exit 0: everything in place for F:\\VekPro\\ for every user");
    EXPECT_EQ(out.Count(L"in place: "), 7u);
}

TEST_F(UnattendedTest, RemoveTakesTheEditionFromTheSwitchOrTheSavedSetting) {
    files.AddFile(L"F:\\VekNom\\VEKBIN.BAT");
    ASSERT_EQ(Create({L"/folder:F:\\VekNom", L"/edition:VekNom"}), kExitDone);
    ASSERT_EQ(Create({L"/folder:F:\\VekPro", L"/edition:VekPro"}), kExitDone);
    ASSERT_EQ(Remove({L"/edition:VekNom"}), kExitDone);
    EXPECT_EQ(out.all.back(), L"exit 0: 7 shortcuts removed");
    EXPECT_FALSE(files.FolderExists(std::wstring(kPrograms) + L"\\VekNom"));
    ASSERT_EQ(Remove({}), kExitDone);  // the saved edition: VekPro
    EXPECT_EQ(out.all.front(), L"edition: VekPro Professional (VekPro)");
    EXPECT_TRUE(LinksSaved().empty());
}

TEST_F(UnattendedTest, AShortcutThatCannotBeRemovedStopsTheRemoval) {
    ASSERT_EQ(Create({L"/folder:F:\\VekPro", L"/desktop:yes"}), kExitDone);
    files.DenyAccess(InPrograms(L"VekPro\\Calendari"));
    ASSERT_EQ(Remove({}), kExitShortcutFailed);
    EXPECT_EQ(out.all[out.all.size() - 2],
              L"failed: " + InPrograms(L"VekPro\\Calendari") + L": Error 75: Path/File access error");
    EXPECT_EQ(out.all.back(), L"exit 3: a shortcut could not be removed; the 3 removed before it stay removed");
    EXPECT_EQ(LinksSaved().size(), 5u);
}

// The ends of a run that no run over the memory platform reaches, through the
// exit codes' one table; the line tests above pin the others.
TEST(RunEnds, OutcomesNoRunReachesEndAsTheirExitCodeSays) {
    CreateOutcome failedForEveryUser{{{}, {}}, {LauncherState::There}};
    failedForEveryUser.shortcuts = {{{}, L"", ShortcutState::Failed}, {{}, L"", ShortcutState::NotReached}};
    const auto check = [](bool everyUser, bool unchecked) {
        CheckOutcome outcome{{}, everyUser, {LauncherState::There}};
        outcome.plan.target.ServerDir = L"F:\\VekPro\\";
        outcome.items = {{L"", Finding::Differs}, {L"", Finding::Missing}, {L"", Finding::InPlace}};
        if (unchecked) outcome.unchecked = ShortcutResult{};
        return outcome;
    };
    RemoveOutcome noEdition;
    RemoveOutcome folderFailed;
    folderFailed.edition = L"VekPro Professional (VekPro)";
    folderFailed.folderRemoval = FolderRemoval::Failed;
    const struct {
        RunEnd end;
        ExitCode code;
        const wchar_t* what;
    } cases[] = {
        {EndOf(failedForEveryUser, true), kExitShortcutFailed,
         L"a shortcut could not be written; the 0 written before it stay"},
        {EndOf(check(true, false)), kExitNotInPlace,
         L"2 not in place for F:\\VekPro\\ for every user; /create puts them in place"},
        {EndOf(check(false, true)), kExitShortcutFailed, L"a shortcut could not be checked; nothing written"},
        {EndOf(noEdition), kExitUnexpected, L"no edition is chosen"},
        {EndOf(folderFailed), kExitShortcutFailed, L"the shortcuts' folder could not be removed"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.end.code, c.code) << c.what;
        EXPECT_EQ(c.end.what, c.what);
    }
}

}  // namespace
}  // namespace zoriza::testing
