#include <gtest/gtest.h>

#include <algorithm>

#include "platform/base/error.h"
#include "tests/memory_platform/memory_shell_links.h"
#include "shortcuts/shortcuts.h"

namespace zoriza {
namespace {

constexpr wchar_t kDesktop[] = L"C:\\Users\\ana\\Desktop";
constexpr wchar_t kPrograms[] = L"C:\\Users\\ana\\Programs";

class MakeShortcutTest : public ::testing::Test {
protected:
    MakeShortcutTest() {
        files.AddDrive(L"C:");
        files.AddFolder(kDesktop);
        files.AddFolder(kPrograms);
        MaximizeWindow = kFalse;
    }

    void Make(const std::wstring& location, const std::wstring& target, const std::wstring& name,
              const std::wstring& icon = L"IMATGES\\RUVO.ICO", const std::wstring& args = L"",
              const std::wstring& appId = L"") {
        MakeShortcut(shell, files, location, target, name, icon, args, appId);
    }

    const SavedShortcut& SavedAt(const std::wstring& path) { return shell.Saved().at(path); }

    MemoryFileSystem files;
    MemoryShellLinks shell{files, kDesktop, kPrograms};
};

TEST(ShortcutPaths, WorkingFolderAndSubfolderPart) {
    const std::pair<const wchar_t*, const wchar_t*> folders[] = {
        {L"F:\\VekPro\\VEKBIN.BAT", L"F:\\VekPro"}, {L"F:\\VEKBIN.BAT", L"F:\\"},
        {L"VEKBIN.BAT", L""}, {L"F:\\a\\b\\c.exe", L"F:\\a\\b"}, {L"\\x.bat", L"\\"}, {L"", L""}};
    for (const auto& [target, folder] : folders) EXPECT_EQ(WorkingFolderOf(target), folder) << target;

    EXPECT_EQ(SubfolderPartOf(L"VekPro\\Calculadora"), L"VekPro\\");
    EXPECT_EQ(SubfolderPartOf(L"Calculadora"), L"");
    EXPECT_EQ(SubfolderPartOf(L"\\Calculadora"), L"\\");
    EXPECT_EQ(SubfolderPartOf(L"a\\b\\c"), L"a\\");
}

// Each path may be as long as Windows takes, the shortcut's own too: the
// writer's temporary file beside it is no reason to refuse it.
TEST(ShortcutPaths, EachFitsUpToTheLongestPathWindowsTakes) {
    const std::wstring longest(kLongestWindowsPath, L'p');
    EXPECT_EQ(PathTooLong({longest, longest, longest, longest}), L"");
    EXPECT_EQ(PathTooLong({longest + L"l", L"t", L"w", L"i"}), longest + L"l");
    EXPECT_EQ(PathTooLong({L"l", L"t", longest + L"w", L"i"}), longest + L"w");
}

// A Desktop or Programs folder redirected to a drive root, which holds no
// folder to find and cannot be made, takes its shortcuts there.
TEST(ShortcutsAtADriveRoot, TheDesktopAndProgramsTakeTheirShortcuts) {
    MemoryFileSystem files;
    files.AddDrive(L"H:");
    MemoryShellLinks shell{files, L"H:", L"H:"};
    MakeShortcut(shell, files, L"Desktop", L"F:\\VekPro\\VEKBIN.BAT", L"App", L"RUVO.ICO", L"", L"");
    MakeShortcut(shell, files, L"", L"F:\\VekPro\\VEKCAL.HTA", L"Calendari", L"RUVO.ICO", L"", L"");
    MakeShortcut(shell, files, L"", L"F:\\VekPro\\VEKCALC.EXE", L"VekPro\\Calculadora", L"RUVO.ICO", L"", L"");
    EXPECT_EQ(shell.SavedInOrder(),
              (std::vector<std::wstring>{L"H:\\App.lnk", L"H:\\Calendari.lnk", L"H:\\VekPro\\Calculadora.lnk"}));
    EXPECT_EQ(files.FoldersMade(), 1);
}

TEST_F(MakeShortcutTest, DesktopInAnyCaseElseProgramsFolder) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"desktop", kDesktop}, {L"Desktop", kDesktop}, {L"DESKTOP", kDesktop}, {L"DeskTop", kDesktop},
        {L"", kPrograms}, {L"Programs", kPrograms}, {L"Desktop ", kPrograms}, {L"Escriptori", kPrograms}};
    for (const auto& [location, folder] : cases) {
        const std::wstring name = L"L" + std::to_wstring(shell.Saved().size());
        Make(location, L"F:\\VekPro\\VEKBIN.BAT", name);
        EXPECT_EQ(shell.Saved().count(std::wstring(folder) + L"\\" + name + L".lnk"), 1u) << location;
    }
}

TEST_F(MakeShortcutTest, SetsAllSevenFieldsInOrder) {
    MaximizeWindow = kTrue;
    Make(L"", L"F:\\VekPro\\VEKBIN.BAT", L"VekPro\\Reordenar fitxers", L"IMATGES\\ZEMBRADO.ICO",
         L"BIN/ZEMBRADO.EXE", L"RuvoSoftware.VekPro.ReordenarFitxers");
    const std::vector<std::wstring> expectedCalls = {
        std::wstring(L"Create ") + kPrograms + L"\\VekPro\\Reordenar fitxers.lnk",
        L"TargetPath", L"WindowStyle", L"Hotkey", L"IconLocation", L"Description", L"Arguments",
        L"WorkingDirectory", L"AppUserModelId", L"Save"};
    EXPECT_EQ(shell.Calls(), expectedCalls);
    EXPECT_EQ(SavedAt(std::wstring(kPrograms) + L"\\VekPro\\Reordenar fitxers.lnk"),
              (SavedShortcut{L"F:\\VekPro\\VEKBIN.BAT", 3, L"", L"F:\\VekPro\\IMATGES\\ZEMBRADO.ICO", L"",
                             L"BIN/ZEMBRADO.EXE", L"F:\\VekPro", 7, L"RuvoSoftware.VekPro.ReordenarFitxers"}));
}

TEST_F(MakeShortcutTest, WindowStyleFollowsTheFlagWhichStaysAsItWas) {
    const std::pair<std::int16_t, std::int16_t> cases[] = {{kTrue, 3}, {kFalse, 1}, {1, 3}, {-32768, 3}};
    for (const auto& [flag, style] : cases) {
        MaximizeWindow = flag;
        Make(L"", L"F:\\VekPro\\VEKCAL.HTA", L"Calendari");
        EXPECT_EQ(SavedAt(std::wstring(kPrograms) + L"\\Calendari.lnk").windowStyle, style);
        EXPECT_EQ(MaximizeWindow, flag);
    }
}

TEST_F(MakeShortcutTest, IconLocationAndWorkingFolderAtARootAndWithoutAFolder) {
    Make(L"Desktop", L"F:\\VEKBIN.BAT", L"Root");
    EXPECT_EQ(SavedAt(std::wstring(kDesktop) + L"\\Root.lnk").workingDirectory, L"F:\\");
    EXPECT_EQ(SavedAt(std::wstring(kDesktop) + L"\\Root.lnk").iconLocation, L"F:\\\\IMATGES\\RUVO.ICO");
    Make(L"Desktop", L"VEKBIN.BAT", L"Bare");
    EXPECT_EQ(SavedAt(std::wstring(kDesktop) + L"\\Bare.lnk").workingDirectory, L"");
    EXPECT_EQ(SavedAt(std::wstring(kDesktop) + L"\\Bare.lnk").iconLocation, L"\\IMATGES\\RUVO.ICO");
}

TEST_F(MakeShortcutTest, CreatesTheSubfolderOnceAndNoneForAPlainName) {
    Make(L"", L"F:\\VekPro\\VEKCALC.EXE", L"VekPro\\Calculadora");
    EXPECT_TRUE(files.FolderExists(std::wstring(kPrograms) + L"\\VekPro"));
    Make(L"", L"F:\\VekPro\\VEKCAL.HTA", L"VekPro\\Calendari");
    EXPECT_EQ(files.FoldersMade(), 1);
    Make(L"", L"F:\\VekPro\\VEKCAL.HTA", L"Calendari");
    Make(L"Desktop", L"F:\\VekPro\\VEKCAL.HTA", L"Calendari");
    EXPECT_EQ(files.FoldersMade(), 1);
}

// The shell hears of the subfolder made, then of each shortcut as new or rewritten.
TEST_F(MakeShortcutTest, TellsTheShellWhatChangedAndGivesThePath) {
    const std::wstring programs = kPrograms;
    EXPECT_EQ(MakeShortcut(shell, files, L"", L"F:\\VekPro\\VEKCALC.EXE", L"VekPro\\Calculadora",
                           L"IMATGES\\VEKCALC.ICO", L"", L"")
                  .linkPath,
              programs + L"\\VekPro\\Calculadora.lnk");
    Make(L"", L"F:\\VekPro\\VEKCAL.HTA", L"VekPro\\Calendari");
    Make(L"", L"F:\\VekPro\\VEKCALC.EXE", L"VekPro\\Calculadora");
    Make(L"desktop", L"F:\\VekPro\\VEKBIN.BAT", L"App");
    using Notice = MemoryShellLinks::Notice;
    EXPECT_EQ(shell.Notices(), (std::vector<Notice>{
                                   {ShellChange::FolderCreated, programs + L"\\VekPro"},
                                   {ShellChange::ItemCreated, programs + L"\\VekPro\\Calculadora.lnk"},
                                   {ShellChange::ItemCreated, programs + L"\\VekPro\\Calendari.lnk"},
                                   {ShellChange::ItemUpdated, programs + L"\\VekPro\\Calculadora.lnk"},
                                   {ShellChange::ItemCreated, std::wstring(kDesktop) + L"\\App.lnk"},
                               }));
}

// The shortcut there is loaded before its fields are set, so that whatever
// else it holds stays; one that already holds every field is not written
// again, and a file that is no shortcut is replaced by a whole one.
TEST_F(MakeShortcutTest, TheExistingShortcutIsLoadedAndOneThatHoldsEveryFieldIsLeftAsItWas) {
    const std::wstring link = std::wstring(kPrograms) + L"\\Calendari.lnk";
    const auto make = [this] {
        return MakeShortcut(shell, files, L"", L"F:\\VekPro\\VEKCAL.HTA", L"Calendari", L"IMATGES\\VEKCAL.ICO", L"",
                            L"");
    };
    files.AddFile(link);  // no shortcut: a file nobody can load
    EXPECT_FALSE(make().unchanged);
    EXPECT_TRUE(make().unchanged);
    MaximizeWindow = kTrue;
    EXPECT_FALSE(make().unchanged);

    const std::vector<std::wstring> calls = shell.Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), L"Load " + link), 2);
    const auto load = std::find(calls.begin(), calls.end(), L"Load " + link);
    ASSERT_NE(load, calls.end());
    EXPECT_EQ(*(load - 1), L"Create " + link);
    EXPECT_EQ(*(load + 1), L"TargetPath");
    EXPECT_EQ(shell.SavedInOrder(), (std::vector<std::wstring>{link, link}));
    EXPECT_EQ(shell.Notices(), (std::vector<MemoryShellLinks::Notice>{{ShellChange::ItemUpdated, link},
                                                                      {ShellChange::ItemUpdated, link}}));
    EXPECT_EQ(SavedAt(link).windowStyle, 3);
}

TEST_F(MakeShortcutTest, ASecondCallRewritesEveryField) {
    MaximizeWindow = kTrue;
    Make(L"", L"F:\\VekPro\\VEKBIN.BAT", L"App", L"IMATGES\\RUVO.ICO", L"BIN16/ZEMBRADO.EXE");
    MaximizeWindow = kFalse;
    Make(L"", L"G:\\Other\\VEKBIN.BAT", L"App", L"IMATGES\\X.ICO", L"");
    EXPECT_EQ(SavedAt(std::wstring(kPrograms) + L"\\App.lnk"),
              (SavedShortcut{L"G:\\Other\\VEKBIN.BAT", 1, L"", L"G:\\Other\\IMATGES\\X.ICO", L"", L"",
                             L"G:\\Other", 7, L""}));
}

TEST_F(MakeShortcutTest, AHiddenOrSystemSubfolderIsThereAndTakesTheShortcut) {
    for (const MemoryFileSystem::FileMarks marks : {MemoryFileSystem::FileMarks{true, false},
                                                    MemoryFileSystem::FileMarks{false, true},
                                                    MemoryFileSystem::FileMarks{true, true}}) {
        files.MarkFolder(std::wstring(kPrograms) + L"\\VekPro", marks);
        Make(L"", L"F:\\VekPro\\VEKCALC.EXE", L"VekPro\\Calculadora");
        EXPECT_EQ(shell.Saved().count(std::wstring(kPrograms) + L"\\VekPro\\Calculadora.lnk"), 1u);
    }
    EXPECT_EQ(files.FoldersMade(), 0);
}

TEST_F(MakeShortcutTest, AFileInTheWayOfTheSubfolderFailsAndWritesNothing) {
    files.AddFile(std::wstring(kPrograms) + L"\\VekPro");
    EXPECT_THROW(Make(L"", L"F:\\VekPro\\VEKCALC.EXE", L"VekPro\\Calculadora"), AppError);
    EXPECT_TRUE(shell.Saved().empty());
}

TEST_F(MakeShortcutTest, AFailedSaveReachesTheCallerAndTheNewSubfolderStays) {
    shell.FailSaving(std::wstring(kPrograms) + L"\\VekPro\\Calculadora.lnk");
    EXPECT_THROW(Make(L"", L"F:\\VekPro\\VEKCALC.EXE", L"VekPro\\Calculadora"), AppError);
    EXPECT_TRUE(files.FolderExists(std::wstring(kPrograms) + L"\\VekPro"));
    EXPECT_TRUE(shell.Saved().empty());
    ASSERT_EQ(shell.Notices().size(), 1u);  // the subfolder, which is there; no shortcut
    EXPECT_EQ(shell.Notices()[0].change, ShellChange::FolderCreated);
}

}  // namespace
}  // namespace zoriza
