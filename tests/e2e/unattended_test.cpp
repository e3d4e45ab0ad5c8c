// ZORIZA.exe run with switches, as a logon script or a device manager runs
// it: its exit code, the lines on its standard output, what it leaves in the
// Desktop and Programs folders and in the registry, and never a window.
#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <algorithm>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/stored_settings.h"
#include "tests/e2e/expected_link.h"
#include "tests/shared/worked_example.h"

namespace zoriza::e2e {
namespace {

using zoriza::expected::ExpectedSetting;
using zoriza::expected::ExpectedShortcut;
using zoriza::expected::kWorkedExampleSettings;
using zoriza::expected::kWorkedExampleShortcuts;
using zoriza::expected::LinkFolder;

constexpr wchar_t kWorkedExampleSwitches[] =
    L"/create /edition:VekPro /folder:F:\\VekPro /platform:32 /desktop:yes /lang:ca";
constexpr wchar_t kWorkedExampleDone[] = L"exit 0: 8 shortcuts written for F:\\VekPro\\, settings saved";

// Runs started at one moment, and rounds of them: enough that a writer whose
// runs get in each other's way fails every time, few enough to stay quick
// where 32-bit code is emulated.
constexpr int kSimultaneousRuns = 4;
constexpr int kRounds = 4;
constexpr int kRoundsBesideTheWindow = 2;

std::wstring Programs(const std::wstring& name) { return ProgramsFolder() + L"\\" + name; }

bool Contains(const std::vector<std::wstring>& lines, const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::size_t CountStarting(const std::vector<std::wstring>& lines, const std::wstring& prefix) {
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [&](const std::wstring& line) { return line.rfind(prefix, 0) == 0; }));
}

// The registry refuses new values under the settings key, as a locked-down
// profile would; reading stays allowed.
void RefuseSettingWrites() {
    UniqueRegistryKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                              nullptr),
              ERROR_SUCCESS);
    UniqueSecurityDescriptor descriptor;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;0x2;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1,
                                                                     descriptor.put(), nullptr));
    ASSERT_EQ(RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor.get()), ERROR_SUCCESS);
}

// ZORIZA.exe run as the same user without the Administrators group, as a
// user's logon script runs under User Account Control; its lines go to `log`.
DWORD RunWithoutAdministrator(const std::wstring& arguments, const std::wstring& log) {
    HANDLE own = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &own)) return ~0u;
    const UniqueHandle ownToken(own);
    BYTE administrators[SECURITY_MAX_SID_SIZE] = {};
    DWORD size = sizeof(administrators);
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size)) return ~0u;
    SID_AND_ATTRIBUTES disabled{administrators, 0};
    HANDLE restricted = nullptr;
    if (!CreateRestrictedToken(own, 0, 1, &disabled, 0, nullptr, 0, nullptr, &restricted)) return ~0u;
    const UniqueHandle token(restricted);
    std::wstring commandLine = L"\"" + ProgramPath() + L"\" " + arguments + L" /log:" + log;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessAsUserW(restricted, nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, L"C:\\",
                              &startup, &started)) {
        return ~0u;
    }
    return ExitCodeWithin(UniqueProcess(started), 30s);
}

class UnattendedTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshProfile();
        WriteFile(L"F:\\VekPro\\VEKBIN.BAT");
        WriteFile(L"F:\\VekPro\\VEKPRO.BAT");
        RemoveTree(L"G:\\VekCom");
        // The server on f: holds the other editions too; these tests want
        // VekPro there alone.
        for (const wchar_t* edition : {L"F:\\VekFin", L"F:\\VekCom", L"F:\\VekNom"}) RemoveTree(edition);
        RemoveTree(L"F:\\Vek Pro");
        RemoveTree(L"C:\\zoriza-logs");
        RemoveTree(KnownFolder(FOLDERID_CommonPrograms) + L"\\VekPro");
        RemoveTree(KnownFolder(FOLDERID_PublicDesktop) + L"\\VekPro Profesional.lnk");
    }
    void TearDown() override { SetUp(); }

    // No settings, no shortcut subfolder, nothing on the Desktop.
    void FreshProfile() {
        ClearSettings();
        RemoveTree(Programs(L"VekPro"));
        RemoveTree(Programs(L"VekCom"));
        for (const std::wstring& entry : EntriesIn(DesktopFolder())) RemoveTree(DesktopFolder() + L"\\" + entry);
    }

    // ZORIZA.exe with `arguments`, started in C:\; a window of it fails the test.
    FinishedRun Run(const std::wstring& arguments) {
        FinishedRun run = RunToEnd(ProgramPath(), arguments);
        EXPECT_FALSE(run.windowSeen) << "a window with " << ::testing::PrintToString(arguments);
        return run;
    }

    std::vector<std::wstring> AllLinks() {
        std::vector<std::wstring> links;
        for (const std::wstring& link : LinksUnder(DesktopFolder())) links.push_back(L"Desktop\\" + link);
        for (const std::wstring& link : LinksUnder(ProgramsFolder())) links.push_back(link);
        return links;
    }

    // The worked example's eight shortcuts, each whole, with no other file
    // beside them, and its five settings.
    void ExpectWorkedExampleOnDisk() {
        std::vector<std::wstring> expectedEntries;
        ExpectLinks(kWorkedExampleShortcuts);
        for (const ExpectedShortcut& e : kWorkedExampleShortcuts) expectedEntries.push_back(LinkPath(e));
        std::vector<std::wstring> entries;
        for (const std::wstring& folder : {DesktopFolder(), Programs(L"VekPro")}) {
            for (const std::wstring& name : EntriesIn(folder)) entries.push_back(folder + L"\\" + name);
        }
        std::sort(entries.begin(), entries.end());
        std::sort(expectedEntries.begin(), expectedEntries.end());
        EXPECT_EQ(entries, expectedEntries);
        EXPECT_EQ(AllLinks().size(), kWorkedExampleShortcuts.size());
        ExpectStoredSettings(kWorkedExampleSettings);
    }

    // Each run of the worked example ended as it does alone; a failed one
    // shows the line that says why.
    static void ExpectEachEndedAsIfAlone(const std::vector<FinishedRun>& runs) {
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const std::vector<std::wstring> lines = runs[i].Lines();
            const std::wstring cause = lines.size() >= 2 ? lines[lines.size() - 2] : runs[i].output;
            EXPECT_EQ(runs[i].exitCode, 0u) << "run " << i << ": " << ::testing::PrintToString(cause);
            EXPECT_EQ(lines.empty() ? L"" : lines.back(), kWorkedExampleDone) << "run " << i;
            EXPECT_FALSE(runs[i].windowSeen) << "run " << i;
        }
    }

    ComScope com;
};

// The worked example through switches: the same eight shortcuts and five
// settings as the window writes, one line for each, and the outcome last.
TEST_F(UnattendedTest, TheWorkedExampleThroughSwitches) {
    const FinishedRun run = Run(kWorkedExampleSwitches);
    ASSERT_EQ(run.exitCode, 0u) << ::testing::PrintToString(run.output);
    ExpectWorkedExampleOnDisk();
    const std::vector<std::wstring> lines = run.Lines();
    for (const ExpectedShortcut& e : kWorkedExampleShortcuts) {
        const std::wstring path = LinkPath(e);
        const std::wstring arguments = *e.arguments == L'\0' ? L"" : L" " + std::wstring(e.arguments);
        EXPECT_TRUE(Contains(lines, L"written: " + path + L" -> " + e.target + arguments)) << path;
    }
    for (const ExpectedSetting& setting : kWorkedExampleSettings) {
        EXPECT_TRUE(Contains(lines, L"saved: " + std::wstring(setting.name) + L" = " + setting.text)) << setting.name;
    }
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), kWorkedExampleDone);
}

// A Desktop redirected so deep that its shortcut's path is as long as Windows
// takes (MAX_PATH less its terminator), or to a drive's root, takes its
// shortcut like any other.
TEST_F(UnattendedTest, ADesktopRedirectedAsDeepAsWindowsTakesOrToADriveRoot) {
    const std::wstring top = L"C:\\" + std::wstring(58, L'a');
    const std::wstring deep = top + L"\\" + std::wstring(57, L'b') + L"\\" + std::wstring(57, L'c') + L"\\" +
                              std::wstring(57, L'd');
    const ExpectedShortcut& onTheDesktop = kWorkedExampleShortcuts.front();
    ASSERT_EQ(onTheDesktop.folder, LinkFolder::Desktop);
    ASSERT_EQ(deep.size() + wcslen(L"\\") + wcslen(onTheDesktop.name) + wcslen(L".lnk"), std::size_t{MAX_PATH - 1});
    ASSERT_EQ(SHCreateDirectoryExW(nullptr, deep.c_str(), nullptr), ERROR_SUCCESS);
    const auto withoutFinalSlash = [](std::wstring folder) {
        if (folder.back() == L'\\') folder.pop_back();
        return folder;
    };
    for (const std::wstring& desktop : {deep, std::wstring(L"G:\\")}) {
        SCOPED_TRACE(::testing::PrintToString(desktop));
        {
            const RedirectedDesktop redirected(desktop);
            ASSERT_EQ(withoutFinalSlash(DesktopFolder()), withoutFinalSlash(desktop));
            const FinishedRun run = Run(kWorkedExampleSwitches);
            EXPECT_EQ(run.exitCode, 0u) << ::testing::PrintToString(run.output);
            ExpectWorkedExampleOnDisk();
            FreshProfile();
        }
    }
    RemoveTree(top);
}

// The logon repair: a file under a shortcut's name that is no shortcut is
// replaced by a whole one; the next run finds every shortcut right and
// writes none of them again.
TEST_F(UnattendedTest, ARepairReplacesAFileThatIsNoShortcutAndLeavesRightOnesAlone) {
    const std::wstring garbage = LinkPath(kWorkedExampleShortcuts.front());
    WriteFile(garbage);  // a batch file's bytes, no shortcut
    const FinishedRun first = Run(kWorkedExampleSwitches);
    ASSERT_EQ(first.exitCode, 0u) << ::testing::PrintToString(first.output);
    EXPECT_EQ(CountStarting(first.Lines(), L"written: "), 8u);
    ExpectWorkedExampleOnDisk();

    const FinishedRun again = Run(kWorkedExampleSwitches);
    ASSERT_EQ(again.exitCode, 0u) << ::testing::PrintToString(again.output);
    EXPECT_EQ(CountStarting(again.Lines(), L"unchanged: "), 8u) << ::testing::PrintToString(again.output);
    EXPECT_EQ(again.Lines().back(), kWorkedExampleDone);
    ExpectWorkedExampleOnDisk();
}

// Runs at one moment, as a logon script and a management agent start them,
// round after round: on a fresh profile, then over the shortcuts the round
// before wrote. Each ends as if it had run alone.
TEST_F(UnattendedTest, SimultaneousRunsEachEndAsIfAlone) {
    for (int round = 0; round < kRounds; ++round) {
        const bool fresh = round % 2 == 0;
        SCOPED_TRACE(::testing::Message() << "round " << round << (fresh ? ", fresh profile" : ", over the shortcuts"));
        if (fresh) FreshProfile();
        SimultaneousRuns runs(ProgramPath(), kWorkedExampleSwitches, kSimultaneousRuns);
        runs.Release();
        ExpectEachEndedAsIfAlone(runs.Finish());
        ExpectWorkedExampleOnDisk();
    }
}

// CREAR pressed in the window while the runs write: the window shows its
// success report, and the runs still end as if alone.
TEST_F(UnattendedTest, TheWindowBesideSimultaneousRuns) {
    RunningProgram window;
    ASSERT_NE(window.Window(), nullptr);
    for (const ControlId choice : {ControlId::Platform1, ControlId::Icona}) {
        window.Click(choice);
        ASSERT_TRUE(window.WaitUntil([&] { return window.Checked(choice); }));
    }
    ASSERT_TRUE(window.MoveToServerFolder(L'f', L"VekPro"));
    const std::wstring firstWritten = LinkPath(kWorkedExampleShortcuts.front());
    for (int round = 0; round < kRoundsBesideTheWindow; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        FreshProfile();
        SimultaneousRuns runs(ProgramPath(), kWorkedExampleSwitches, kSimultaneousRuns);
        runs.Release();
        // Pressed once a run has written its first shortcut, so that the
        // window writes while the runs still do.
        ASSERT_TRUE(window.WaitUntil([&] { return FileExists(firstWritten); }, 20s));
        const auto box = window.ClickAndReadMessage(ControlId::Intro);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->title + L"|" + box->text, std::wstring(L"ZORIZA|") + expected::kWorkedExampleReport);
        EXPECT_FALSE(box->errorIcon);
        ExpectEachEndedAsIfAlone(runs.Finish());
        ExpectWorkedExampleOnDisk();
    }
}

// The logon script's repair: no option, everything from the saved settings.
TEST_F(UnattendedTest, CreateWithoutOptionsRestoresTheSavedChoices) {
    StoreText(kIdioma, L"3");
    StoreText(kAplicacio, L"0");
    StoreText(kDirectori, L"F:\\VekPro");
    StoreText(kPlataforma, L"0");
    StoreText(kIcona, L"1");
    const FinishedRun run = Run(L"/create");
    ASSERT_EQ(run.exitCode, 0u) << ::testing::PrintToString(run.output);
    EXPECT_EQ(run.Lines().front(),
              L"choices: VekPro Profesional, 16 bit, folder F:\\VekPro, desktop shortcut yes, language Castellano");
    EXPECT_EQ(ReadLink(DesktopFolder() + L"\\VekPro Profesional.lnk").target, L"F:\\VekPro\\VEKPRO.BAT");
    EXPECT_EQ(ReadLink(Programs(L"VekPro\\Reordenar ficheros.lnk")).arguments, L"BIN16/ZEMBRADO.EXE");
    EXPECT_TRUE(FileExists(Programs(L"VekPro\\Servicio de actualizaciones.lnk")));
    EXPECT_EQ(AllLinks().size(), 8u);
    EXPECT_EQ(Stored(kIdioma)->Text(), L"3");
}

// f: is the first server drive in the system's order (after c: and the gone
// d:), g: the second: only g: holds VekCom (it is taken off f: above).
TEST_F(UnattendedTest, TheScanFindsTheLauncherOnTheSecondServerDrive) {
    ASSERT_TRUE(CreateDirectoryW(L"G:\\VekCom", nullptr));
    WriteFile(L"G:\\VekCom\\VEKBIN.BAT");
    const FinishedRun run = Run(L"/create /edition:VekCom /scan");
    ASSERT_EQ(run.exitCode, 0u) << ::testing::PrintToString(run.output);
    EXPECT_EQ(run.Lines().front(), L"found: G:\\VekCom");
    EXPECT_EQ(Stored(kDirectori)->Text(), L"G:\\VekCom");
    EXPECT_EQ(ReadLink(Programs(L"VekCom\\VekCom Comercial.lnk")).target, L"G:\\VekCom\\VEKBIN.BAT");
}

TEST_F(UnattendedTest, AQuotedFolderWithSpaces) {
    ASSERT_TRUE(CreateDirectoryW(L"F:\\Vek Pro", nullptr));
    WriteFile(L"F:\\Vek Pro\\VEKBIN.BAT");
    const FinishedRun run = Run(L"-CREATE \"/folder:F:\\Vek Pro\" /Platform:64");
    ASSERT_EQ(run.exitCode, 0u) << ::testing::PrintToString(run.output);
    EXPECT_EQ(Stored(kDirectori)->Text(), L"F:\\Vek Pro");
    EXPECT_EQ(ReadLink(Programs(L"VekPro\\Calculadora.lnk")).target, L"F:\\Vek Pro\\VEKCALC.EXE");
    const FinishedRun again = Run(L"/create /folder:\"F:\\Vek Pro\"");
    EXPECT_EQ(again.exitCode, 0u) << ::testing::PrintToString(again.output);
}

// Exits 1 and 2 write nothing at all; the line says why.
TEST_F(UnattendedTest, UsageErrorsAndMissingLaunchersWriteNothing) {
    StoreText(kIdioma, L"1");
    struct Case {
        const wchar_t* arguments;
        DWORD exitCode;
        const wchar_t* line;  // the line before the last
    };
    const Case cases[] = {
        {L"/create /platform:48", 1, L"usage error: bad value for /platform: \"48\" (one of 16|32|64)"},
        {L"/create /folder:F:\\VekPro /scan", 1, L"usage error: /folder and /scan cannot be used together"},
        {L"/create /quiet", 1, L"usage error: unknown switch /quiet"},
        {L"/edition:VekPro", 1, L"usage error: /create, /check or /remove is missing"},
        {L"/create /folder:F:\\VekPr?", 1, L"usage error: bad value for /folder: \"F:\\VekPr?\" (a folder has no wildcards)"},
        {L"/create /folder:G:\\", 2, L"not found: G:\\\\VEKBIN.BAT"},
        {L"/create /folder:F:\\Missing", 2, nullptr},
        {L"/create /folder:Q:\\VekPro", 2, L"not found: Q:\\VekPro: Error 68: Device unavailable"},
        {L"/create /edition:VekNom /scan", 2, L"not found: no drive holds VekNom\\VEKBIN.BAT"},
    };
    const StoredSettings before = StoredNow();
    for (const Case& c : cases) {
        const FinishedRun run = Run(c.arguments);
        const std::vector<std::wstring> lines = run.Lines();
        EXPECT_EQ(run.exitCode, c.exitCode) << ::testing::PrintToString(run.output);
        ASSERT_GE(lines.size(), 2u) << ::testing::PrintToString(run.output);
        EXPECT_EQ(lines.back().rfind(L"exit " + std::to_wstring(c.exitCode) + L": ", 0), 0u) << lines.back();
        if (c.line != nullptr) {
            EXPECT_EQ(lines[lines.size() - 2], c.line) << c.arguments;
        }
        EXPECT_TRUE(AllLinks().empty()) << c.arguments;
        EXPECT_FALSE(FolderExists(Programs(L"VekPro"))) << c.arguments;
        EXPECT_TRUE(Unchanged(before)) << c.arguments;
    }
}

// Exit 3: a folder in the way of the fourth shortcut. The three before it
// stay, the rest are not written, no setting is saved.
TEST_F(UnattendedTest, AShortcutThatCannotBeWrittenIsExitThree) {
    ASSERT_TRUE(CreateDirectoryW(Programs(L"VekPro").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(Programs(L"VekPro\\Calendari.lnk").c_str(), nullptr));
    const StoredSettings before = StoredNow();
    const FinishedRun run = Run(kWorkedExampleSwitches);
    EXPECT_EQ(run.exitCode, 3u) << ::testing::PrintToString(run.output);
    const std::vector<std::wstring> lines = run.Lines();
    EXPECT_EQ(CountStarting(lines, L"written: "), 3u);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2].rfind(L"failed: Programs\\VekPro\\Calendari.lnk: Error ", 0), 0u)
        << lines[lines.size() - 2];
    EXPECT_EQ(lines.back(), L"exit 3: a shortcut could not be written; the 3 written before it stay; settings not saved");
    EXPECT_EQ(AllLinks(), (std::vector<std::wstring>{L"Desktop\\VekPro Professional.lnk", L"VekPro\\Calculadora.lnk",
                                                     L"VekPro\\VekPro Professional.lnk"}));
    EXPECT_TRUE(Unchanged(before));
}

// Exit 4: every shortcut written, the settings key refuses new values.
TEST_F(UnattendedTest, ASettingThatCannotBeSavedIsExitFour) {
    RefuseSettingWrites();
    const FinishedRun run = Run(kWorkedExampleSwitches);
    EXPECT_EQ(run.exitCode, 4u) << ::testing::PrintToString(run.output);
    EXPECT_EQ(AllLinks().size(), 8u);
    EXPECT_EQ(CountStarting(run.Lines(), L"not saved: "), 5u);
    EXPECT_FALSE(Stored(kIdioma).has_value());
    EXPECT_EQ(run.Lines().back(), L"exit 4: 8 shortcuts written for F:\\VekPro\\, 5 of the settings not saved");
}

// /remove after /create: every shortcut goes but a user's own under one of
// the names, which stays with the user's file and keeps the subfolder; the
// settings stay. Then without them the subfolder goes too, and removing again
// finds nothing and succeeds.
TEST_F(UnattendedTest, RemoveAfterCreate) {
    ASSERT_EQ(Run(kWorkedExampleSwitches).exitCode, 0u);
    ASSERT_EQ(Run(L"/create /folder:F:\\VekPro /lang:gl").exitCode, 0u);
    WriteFile(Programs(L"VekPro\\notes.txt"));
    WriteFile(DesktopFolder() + L"\\Other.lnk");
    const std::wstring usersOwn = Programs(L"VekPro\\Calculadora.lnk");
    EditLink(usersOwn, [](IShellLinkW& link) { link.SetPath(L"C:\\windows\\system32\\calc.exe"); });
    const StoredSettings before = StoredNow();

    FinishedRun run = Run(L"/remove");
    EXPECT_EQ(run.exitCode, 0u) << ::testing::PrintToString(run.output);
    // Galego adds seven names, the desktop shortcut's among them: Calculadora is shared.
    EXPECT_EQ(CountStarting(run.Lines(), L"removed: "), 8u + 7u - 1u);
    EXPECT_TRUE(Contains(run.Lines(), L"removed: " + Programs(L"VekPro\\Calend\u00e1rio.lnk") +
                                          L" -> F:\\VekPro\\VEKCAL.HTA"));
    EXPECT_TRUE(Contains(run.Lines(), L"kept: " + usersOwn +
                                          L" -> C:\\windows\\system32\\calc.exe (not a target ZORIZA writes)"))
        << ::testing::PrintToString(run.output);
    EXPECT_EQ(AllLinks(), (std::vector<std::wstring>{L"Desktop\\Other.lnk", L"VekPro\\Calculadora.lnk"}));
    EXPECT_TRUE(FileExists(Programs(L"VekPro\\notes.txt")));
    EXPECT_TRUE(Unchanged(before));

    RemoveTree(Programs(L"VekPro\\notes.txt"));
    RemoveTree(usersOwn);
    run = Run(L"-remove /EDITION:vekpro");
    EXPECT_EQ(run.exitCode, 0u) << ::testing::PrintToString(run.output);
    EXPECT_TRUE(Contains(run.Lines(), L"removed folder: " + Programs(L"VekPro")));
    EXPECT_FALSE(FolderExists(Programs(L"VekPro")));
    EXPECT_EQ(run.Lines().back(), L"exit 0: 0 shortcuts removed");
}

// /check reads every shortcut back from its file and every setting from the
// registry, and writes nothing: all missing on a fresh profile; after
// /create, what another program and a hand changed is told field by field;
// /create puts it back.
TEST_F(UnattendedTest, CheckComparesWithWhatIsThereAndWritesNothing) {
    const std::wstring check = L"/check" + std::wstring(kWorkedExampleSwitches).substr(std::size(L"/create") - 1);
    const StoredSettings fresh = StoredNow();
    FinishedRun run = Run(check);
    EXPECT_EQ(run.exitCode, 6u) << ::testing::PrintToString(run.output);
    EXPECT_EQ(CountStarting(run.Lines(), L"missing: "), 8u + 1u);
    EXPECT_EQ(CountStarting(run.Lines(), L"not saved: "), 5u);
    EXPECT_TRUE(AllLinks().empty());
    EXPECT_FALSE(FolderExists(Programs(L"VekPro")));
    EXPECT_TRUE(Unchanged(fresh));

    ASSERT_EQ(Run(kWorkedExampleSwitches).exitCode, 0u);
    const std::wstring calculator = Programs(L"VekPro\\Calculadora.lnk");
    const WORD hotkey = MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT);
    EditLink(calculator, [hotkey](IShellLinkW& link) {
        link.SetHotkey(hotkey);
        link.SetWorkingDirectory(L"C:\\");
    });
    StoreText(kIdioma, L"3");
    run = Run(check);
    EXPECT_EQ(run.exitCode, 6u) << ::testing::PrintToString(run.output);
    for (const std::wstring& line : {
             L"differs: " + calculator + L": hotkey \"Ctrl+Alt+K\", should be \"none\"",
             L"differs: " + calculator + L": working folder \"C:\\\", should be \"F:\\VekPro\"",
             // Wine's link object drops the property store when it saves.
             L"differs: " + calculator + L": app id \"\", should be \"RuvoSoftware.VekPro.Calculadora\"",
             std::wstring(L"not saved: Idioma = 0 (stored: \"3\")"),
         }) {
        EXPECT_TRUE(Contains(run.Lines(), line)) << ::testing::PrintToString(line);
    }
    EXPECT_EQ(CountStarting(run.Lines(), L"in place: "), 7u + 4u);
    EXPECT_EQ(run.Lines().back(), L"exit 6: 2 not in place for F:\\VekPro\\; /create puts them in place");
    EXPECT_EQ(ReadLink(calculator).hotkey, hotkey);
    EXPECT_EQ(Stored(kIdioma)->Text(), L"3");

    ASSERT_EQ(Run(kWorkedExampleSwitches).exitCode, 0u);
    run = Run(check);
    EXPECT_EQ(run.exitCode, 0u) << ::testing::PrintToString(run.output);
    EXPECT_EQ(run.Lines().back(), L"exit 0: everything in place for F:\\VekPro\\");
    // The folder as the disk spells it, however the command line does.
    run = Run(L"/check /edition:VekPro /folder:f:\\vekpro. /platform:32 /desktop:yes /lang:ca");
    EXPECT_EQ(run.exitCode, 0u) << ::testing::PrintToString(run.output);
}

// For every user: the shared Desktop and Programs take the shortcuts, and no
// setting is read or saved; the check and the removal work on the same
// folders. Without the Administrators group, writing is refused at once.
TEST_F(UnattendedTest, EveryUsersFoldersTakeTheShortcutsAndNoSetting) {
    const std::wstring desktop = KnownFolder(FOLDERID_PublicDesktop);
    const std::wstring programs = KnownFolder(FOLDERID_CommonPrograms) + L"\\VekPro";
    StoreText(kIcona, L"0");  // this user's own choice, which is not read
    const StoredSettings before = StoredNow();
    const std::wstring choices = L" /allusers /folder:F:\\VekPro /desktop:yes /lang:es";

    ASSERT_TRUE(CreateDirectoryW(L"C:\\zoriza-logs", nullptr));
    EXPECT_EQ(RunWithoutAdministrator(L"/create" + choices, L"C:\\zoriza-logs\\user.log"), 7u);
    EXPECT_FALSE(FolderExists(programs));
    const std::string logged = FileBytes(L"C:\\zoriza-logs\\user.log");
    EXPECT_NE(logged.find("needs administrator rights"), std::string::npos) << logged;

    FinishedRun run = Run(L"/create" + choices);
    ASSERT_EQ(run.exitCode, 0u) << ::testing::PrintToString(run.output);
    EXPECT_EQ(run.Lines().back(), L"exit 0: 8 shortcuts written for F:\\VekPro\\ for every user");
    EXPECT_EQ(ReadLink(desktop + L"\\VekPro Profesional.lnk").target, L"F:\\VekPro\\VEKBIN.BAT");
    EXPECT_EQ(LinksUnder(programs).size(), 7u);
    EXPECT_TRUE(AllLinks().empty());  // the user's own folders
    EXPECT_TRUE(Unchanged(before));

    run = Run(L"/check" + choices);
    EXPECT_EQ(run.exitCode, 0u) << ::testing::PrintToString(run.output);
    EXPECT_EQ(CountStarting(run.Lines(), L"in place: "), 8u);
    EXPECT_EQ(RunWithoutAdministrator(L"/remove /allusers", L"C:\\zoriza-logs\\user.log"), 7u);
    run = Run(L"/remove /allusers");
    EXPECT_EQ(run.exitCode, 0u) << ::testing::PrintToString(run.output);
    EXPECT_FALSE(FileExists(desktop + L"\\VekPro Profesional.lnk"));
    EXPECT_FALSE(FolderExists(programs));
    EXPECT_TRUE(Unchanged(before));
}

// Exit 3 for /remove: a shortcut in use by another program cannot be deleted.
TEST_F(UnattendedTest, AShortcutInUseIsExitThreeForRemove) {
    ASSERT_EQ(Run(kWorkedExampleSwitches).exitCode, 0u);
    const std::wstring locked = Programs(L"VekPro\\Calendari.lnk");
    {
        const UniqueFile inUse(CreateFileW(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                           nullptr));
        ASSERT_TRUE(inUse);
        const FinishedRun run = Run(L"/remove");
        EXPECT_EQ(run.exitCode, 3u) << ::testing::PrintToString(run.output);
        ASSERT_GE(run.Lines().size(), 2u);
        EXPECT_EQ(run.Lines()[run.Lines().size() - 2].rfind(L"failed: " + locked + L": Error ", 0), 0u);
        EXPECT_EQ(run.Lines().back(), L"exit 3: a shortcut could not be removed; the 3 removed before it stay removed");
    }
    EXPECT_TRUE(FileExists(locked));
    EXPECT_EQ(AllLinks().size(), 5u);
    EXPECT_EQ(Run(L"/remove").exitCode, 0u);
    EXPECT_TRUE(AllLinks().empty());
}

// /log appends the same lines, UTF-8, after a line naming the run.
TEST_F(UnattendedTest, TheLogFileGetsEveryLineOfEveryRun) {
    ASSERT_TRUE(CreateDirectoryW(L"C:\\zoriza-logs", nullptr));
    const std::wstring arguments = std::wstring(kWorkedExampleSwitches) + L" /log:C:\\zoriza-logs\\run.log";
    const FinishedRun first = Run(arguments);
    const FinishedRun second = Run(L"/create /folder:G:\\ /log:C:\\zoriza-logs\\run.log");
    ASSERT_EQ(first.exitCode, 0u);
    ASSERT_EQ(second.exitCode, 2u);
    const std::string bytes = FileBytes(L"C:\\zoriza-logs\\run.log");
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                           nullptr, 0);
    ASSERT_GT(length, 0) << "not UTF-8";
    FinishedRun log;
    log.output.resize(static_cast<std::size_t>(length));
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), log.output.data(), length);
    std::vector<std::wstring> expected;
    for (const FinishedRun* run : {&first, &second}) {
        expected.push_back(L"<run header>");
        for (const std::wstring& line : run->Lines()) expected.push_back(line);
    }
    std::vector<std::wstring> logged = log.Lines();
    for (std::wstring& line : logged) {
        if (line.find(L"ZORIZA.exe\" ") != std::wstring::npos) line = L"<run header>";
    }
    EXPECT_EQ(logged, expected);
    EXPECT_TRUE(Contains(logged, L"written: " + Programs(L"VekPro\\Gesti\u00f3 de bloquejos.lnk") +
                                     L" -> F:\\VekPro\\VEKLOCK.HTA"));
}

TEST_F(UnattendedTest, HelpPrintsTheUsageAndDoesNothing) {
    const FinishedRun run = Run(L"/?");
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_FALSE(run.Lines().empty());
    EXPECT_EQ(run.Lines().front().rfind(L"ZORIZA.exe ", 0), 0u);
    EXPECT_TRUE(AllLinks().empty());
    EXPECT_FALSE(SettingsKeyExists());
}

}  // namespace
}  // namespace zoriza::e2e
