// Shortcuts written by the Shell's own link object to the prefix's real
// Desktop and Programs folders, and read back field by field.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/base/error.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_shell_links.h"
#include "shortcuts/shortcuts.h"
#include "tests/e2e/e2e_support.h"

namespace zoriza {
namespace {

constexpr wchar_t kIcon[] = L"IMATGES\\RUVO.ICO";

using e2e::KnownFolder;
using e2e::LinkFields;
using e2e::ReadLink;
using e2e::RemoveTree;

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool IsFolder(const std::wstring& path) { return e2e::FolderExists(path); }

std::vector<std::wstring> LinksIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const std::wstring& link : e2e::LinksUnder(folder)) {
        if (link.find(L'\\') == std::wstring::npos) names.push_back(link);
    }
    return names;
}

class ShellLinksTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        comReady = true;
        desktop = KnownFolder(FOLDERID_Desktop);
        programs = KnownFolder(FOLDERID_Programs);
        ASSERT_TRUE(IsFolder(desktop)) << desktop;
        ASSERT_TRUE(IsFolder(programs)) << programs;
        MaximizeWindow = kFalse;
    }
    void TearDown() override {
        for (auto it = made.rbegin(); it != made.rend(); ++it) RemoveTree(*it);
        if (comReady) CoUninitialize();
    }

    // MakeShortcut with the real objects; `cleanUp` is removed after the test.
    void Make(const std::wstring& location, const std::wstring& target, const std::wstring& name,
              const std::wstring& cleanUp, const std::wstring& icon = kIcon, const std::wstring& args = L"",
              const std::wstring& appId = L"") {
        made.push_back(cleanUp);
        MakeShortcut(shell, files, location, target, name, icon, args, appId);
    }

    ServerRequests requests;
    Win32ShellLinks shell{requests, FolderOwner::CurrentUser};
    Win32FileSystem files{requests};
    std::wstring desktop;
    std::wstring programs;
    std::vector<std::wstring> made;
    bool comReady = false;
};

TEST_F(ShellLinksTest, DesktopInLowerCaseOrElseThePrograms) {
    const struct {
        const wchar_t* location;
        const wchar_t* name;
        std::wstring folder;
        std::wstring other;
    } cases[] = {{L"desktop", L"On the desktop", desktop, programs}, {L"", L"In programs", programs, desktop}};
    for (const auto& c : cases) {
        Make(c.location, L"F:\\VekPro\\VEKBIN.BAT", c.name, c.folder + L"\\" + c.name + L".lnk");
        EXPECT_TRUE(Exists(c.folder + L"\\" + c.name + L".lnk")) << c.location;
        EXPECT_FALSE(Exists(c.other + L"\\" + c.name + L".lnk")) << c.location;
        EXPECT_EQ(shell.FolderPath(c.location[0] ? SpecialFolder::Desktop : SpecialFolder::Programs), c.folder);
    }
}

TEST_F(ShellLinksTest, TheSubfolderIsCreatedWhenMissingAndUsedWhenThere) {
    const std::wstring folder = programs + L"\\VekPro";
    ASSERT_FALSE(Exists(folder));
    Make(L"", L"F:\\VekPro\\VEKCALC.EXE", L"VekPro\\Calculadora", folder);
    EXPECT_TRUE(IsFolder(folder));
    EXPECT_TRUE(Exists(folder + L"\\Calculadora.lnk"));
    Make(L"", L"F:\\VekPro\\VEKCAL.HTA", L"VekPro\\Calendari", folder);
    EXPECT_TRUE(Exists(folder + L"\\Calendari.lnk"));
    EXPECT_FALSE(Exists(programs + L"\\Calculadora.lnk"));
}

// The worked example: a target on a drive this prefix does not have, stored as given.
TEST_F(ShellLinksTest, TheWorkedExampleStoresEveryFieldAsGiven) {
    ASSERT_EQ(GetDriveTypeW(L"F:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR)) << "F: must not exist";
    // Left for the check with a reader that runs outside the prefix; an earlier
    // run's copy goes first, so that a failure here leaves nothing to check.
    wchar_t exportFolder[MAX_PATH] = {};
    const bool exporting = GetEnvironmentVariableW(L"ZORIZA_LNK_EXPORT", exportFolder, MAX_PATH) > 0;
    const std::wstring copy = std::wstring(exportFolder) + L"\\Reordenar fitxers.lnk";
    if (exporting) {
        CreateDirectoryW(exportFolder, nullptr);
        DeleteFileW(copy.c_str());
    }

    MaximizeWindow = kTrue;
    Make(L"", L"F:\\VekPro\\VEKBIN.BAT", L"VekPro\\Reordenar fitxers", programs + L"\\VekPro",
         L"IMATGES\\ZEMBRADO.ICO", L"BIN/ZEMBRADO.EXE", L"RuvoSoftware.VekPro.ReordenarFitxers");
    const std::wstring linkPath = programs + L"\\VekPro\\Reordenar fitxers.lnk";
    const LinkFields link = ReadLink(linkPath);
    EXPECT_EQ(link.target, L"F:\\VekPro\\VEKBIN.BAT");
    EXPECT_EQ(link.arguments, L"BIN/ZEMBRADO.EXE");
    EXPECT_EQ(link.workingDirectory, L"F:\\VekPro");
    EXPECT_EQ(link.iconLocation, L"F:\\VekPro\\IMATGES\\ZEMBRADO.ICO");
    EXPECT_EQ(link.iconIndex, 0);
    EXPECT_EQ(link.description, L"");
    EXPECT_EQ(link.hotkey, 0);
    EXPECT_EQ(link.headerHotkey, 0);
    EXPECT_EQ(link.showCommand, 3u);

    if (exporting) {
        EXPECT_TRUE(CopyFileW(linkPath.c_str(), copy.c_str(), FALSE)) << copy << L": " << GetLastError();
    }
}

TEST_F(ShellLinksTest, TheShowCommandFollowsMaximizeWindow) {
    const std::pair<std::int16_t, std::uint32_t> cases[] = {{kTrue, 3}, {kFalse, 1}, {1, 3}};
    for (const auto& [flag, showCommand] : cases) {
        MaximizeWindow = flag;
        Make(L"desktop", L"F:\\VekPro\\VEKCAL.HTA", L"Calendari", desktop + L"\\Calendari.lnk");
        EXPECT_EQ(ReadLink(desktop + L"\\Calendari.lnk").showCommand, showCommand) << flag;
    }
}

TEST_F(ShellLinksTest, ATargetAtADriveRootKeepsTheRootAsWorkingFolder) {
    Make(L"Desktop", L"F:\\VEKBIN.BAT", L"Root", desktop + L"\\Root.lnk");
    const LinkFields link = ReadLink(desktop + L"\\Root.lnk");
    EXPECT_EQ(link.target, L"F:\\VEKBIN.BAT");
    EXPECT_EQ(link.workingDirectory, L"F:\\");
    EXPECT_EQ(link.iconLocation, L"F:\\\\IMATGES\\RUVO.ICO");
}

TEST_F(ShellLinksTest, AnAccentedNameIsSavedUnderThatExactName) {
    const std::wstring name = L"Gesti\u00f3 de bloquejos";
    Make(L"Desktop", L"F:\\VekPro\\VEKBLOQ.EXE", name, desktop + L"\\" + name + L".lnk");
    WIN32_FIND_DATAW entry{};
    const UniqueFindHandle find(FindFirstFileW((desktop + L"\\" + name + L".lnk").c_str(), &entry));
    ASSERT_TRUE(find);
    EXPECT_EQ(std::wstring(entry.cFileName), name + L".lnk");
    EXPECT_EQ(ReadLink(desktop + L"\\" + name + L".lnk").target, L"F:\\VekPro\\VEKBLOQ.EXE");
}

TEST_F(ShellLinksTest, ASecondCallWithTheSameNameRewritesEveryField) {
    const std::wstring linkPath = programs + L"\\App.lnk";
    MaximizeWindow = kTrue;
    Make(L"", L"F:\\VekPro\\VEKBIN.BAT", L"App", linkPath, kIcon, L"BIN16/ZEMBRADO.EXE");
    MaximizeWindow = kFalse;
    Make(L"", L"G:\\Other\\VEKFIN.BAT", L"App", linkPath, L"IMATGES\\X.ICO", L"");
    const LinkFields link = ReadLink(linkPath);
    EXPECT_EQ(link.target, L"G:\\Other\\VEKFIN.BAT");
    EXPECT_EQ(link.arguments, L"");
    EXPECT_EQ(link.workingDirectory, L"G:\\Other");
    EXPECT_EQ(link.iconLocation, L"G:\\Other\\IMATGES\\X.ICO");
    EXPECT_EQ(link.showCommand, 1u);
}

// A file under the shortcut's name that is no shortcut is replaced by a whole
// one; a shortcut that already holds every field is not written again; no
// temporary file stays beside it.
TEST_F(ShellLinksTest, AFileThatIsNoShortcutIsReplacedAndAnUnchangedShortcutLeftAsItWas) {
    const std::wstring linkPath = desktop + L"\\Calendari.lnk";
    made.push_back(linkPath);
    {
        const UniqueFile garbage(CreateFileW(linkPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(garbage.get(), "no shortcut", 11, &written, nullptr));
    }
    std::wstring appId = L"RuvoSoftware.VekPro.Calendari";
    const auto make = [this, &appId] {
        return MakeShortcut(shell, files, L"Desktop", L"F:\\VekPro\\VEKCAL.HTA", L"Calendari", kIcon, L"", appId);
    };
    EXPECT_FALSE(make().unchanged);
    EXPECT_EQ(ReadLink(linkPath).target, L"F:\\VekPro\\VEKCAL.HTA");
    const auto lastWrite = [&linkPath] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW(linkPath.c_str(), GetFileExInfoStandard, &data);
        return ULARGE_INTEGER{{data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime}}.QuadPart;
    };
    const auto before = lastWrite();
    Sleep(50);
    EXPECT_TRUE(make().unchanged);
    EXPECT_EQ(lastWrite(), before);
    MaximizeWindow = kTrue;  // one field differs: written again
    EXPECT_FALSE(make().unchanged);
    EXPECT_EQ(ReadLink(linkPath).showCommand, 3u);
    EXPECT_TRUE(make().unchanged);
    appId = L"RuvoSoftware.VekFin.Calendari";  // only the ID differs: written again, with one ID
    EXPECT_FALSE(make().unchanged);
    EXPECT_EQ(shell.ReadShortcut(linkPath)->appUserModelId, appId);
    WIN32_FIND_DATAW entry{};
    EXPECT_FALSE(UniqueFindHandle(FindFirstFileW((desktop + L"\\*.zoriza-*").c_str(), &entry))) << entry.cFileName;
}

// A hidden or system subfolder is the user's folder, not a missing one.
TEST_F(ShellLinksTest, AHiddenOrSystemSubfolderTakesTheShortcut) {
    const std::wstring folder = programs + L"\\VekPro";
    for (const DWORD marks : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM},
                              DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}}) {
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        ASSERT_TRUE(SetFileAttributesW(folder.c_str(), marks));
        EXPECT_NO_THROW(Make(L"", L"F:\\VekPro\\VEKCALC.EXE", L"VekPro\\Calculadora", folder)) << marks;
        EXPECT_TRUE(Exists(folder + L"\\Calculadora.lnk")) << marks;
        SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveTree(folder);
    }
}

std::string BytesOf(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The new shortcut is written whole beside the old one before it replaces
// it: when the replacing fails (here: the old file is held open without
// sharing, as another program's lock would) the old one keeps every byte,
// no temporary file stays, and once free the same call replaces it.
TEST_F(ShellLinksTest, AShortcutThatCannotReplaceTheOldOneLeavesItWhole) {
    const std::wstring link = desktop + L"\\Kept.lnk";
    Make(L"Desktop", L"F:\\VekPro\\VEKBIN.BAT", L"Kept", link);
    const std::string before = BytesOf(link);
    ASSERT_FALSE(before.empty());
    {
        const UniqueFile lock(CreateFileW(link.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock);
        EXPECT_THROW(Make(L"Desktop", L"G:\\Other\\VEKBIN.BAT", L"Kept", link), AppError);
    }
    EXPECT_EQ(BytesOf(link), before);
    EXPECT_EQ(LinksIn(desktop), std::vector<std::wstring>{L"Kept.lnk"});
    EXPECT_EQ(e2e::TemporaryFilesUnder(desktop), std::vector<std::wstring>{});
    Make(L"Desktop", L"G:\\Other\\VEKBIN.BAT", L"Kept", link);
    EXPECT_EQ(ReadLink(link).target, L"G:\\Other\\VEKBIN.BAT");
    EXPECT_EQ(e2e::TemporaryFilesUnder(desktop), std::vector<std::wstring>{});
}

// Run with e: a server that stalls when told to (the test's own run).
using ShellLinksOnAStalledServerTest = ShellLinksTest;

// A save whose server answers only after the bound is reported as failed,
// and so it stays: once the server answers, the old shortcut keeps every
// byte and the late writer's temporary file is gone.
TEST_F(ShellLinksOnAStalledServerTest, ASaveThatEndsAfterItsBoundChangesNothing) {
    const std::wstring link = desktop + L"\\Kept.lnk";
    Make(L"Desktop", L"F:\\VekPro\\VEKBIN.BAT", L"Kept", link);
    const std::string before = BytesOf(link);
    e2e::TellStallingServer(L'e', "stall");
    try {
        Make(L"Desktop", L"E:\\VekPro\\VEKBIN.BAT", L"Kept", link);
        ADD_FAILURE() << "a save on a stalled server answered";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number(), kDeviceUnavailable) << error.Description();
    }
    e2e::TellStallingServer(L'e', "answer");
    // The late save holds the drive of its link until it has ended.
    bool ended = false;
    for (int tries = 0; !ended && tries < 100; ++tries) {
        try {
            ended = requests.Ask<bool>(link, [] { return true; });
        } catch (const AppError&) {
            Sleep(100);
        }
    }
    ASSERT_TRUE(ended) << "the late save never ended";
    EXPECT_TRUE(BytesOf(link) == before) << "now pointing at " << ReadLink(link).target;
    EXPECT_EQ(e2e::TemporaryFilesUnder(desktop), std::vector<std::wstring>{});
}

// A run that ended while a server kept its write waiting leaves its
// temporary file behind: the next run's first save in that folder removes
// it once it is older than any write under way, and nothing else.
TEST_F(ShellLinksTest, TheFirstSaveInAFolderRemovesTemporaryFilesOfRunsThatEnded) {
    const struct {
        const wchar_t* name;
        int ageMinutes;
        bool stays;
    } leftovers[] = {
        {L"Old.lnk.zoriza-00000abc0001", 5, false},
        {L"Fresh.lnk.zoriza-00000abc0002", 0, true},  // another run's write under way
        {L"Old.lnk.zoriza-notours", 5, true},
        {L"Old.txt.zoriza-00000abc0003", 5, true},
    };
    for (const auto& file : leftovers) {
        const std::wstring path = desktop + L"\\" + file.name;
        made.push_back(path);
        e2e::WriteFile(path);
        const UniqueFile handle(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER written{{now.dwLowDateTime, now.dwHighDateTime}};
        written.QuadPart -= file.ageMinutes * 60ULL * 10'000'000ULL;
        const FILETIME when{written.LowPart, written.HighPart};
        ASSERT_TRUE(handle && SetFileTime(handle.get(), nullptr, nullptr, &when));
    }
    Make(L"Desktop", L"F:\\VekPro\\VEKBIN.BAT", L"Swept", desktop + L"\\Swept.lnk");
    for (const auto& file : leftovers) EXPECT_EQ(Exists(desktop + L"\\" + file.name), file.stays) << file.name;
}

TEST_F(ShellLinksTest, AFileInTheWayOfTheSubfolderFailsAndWritesNoShortcut) {
    const std::wstring blocker = programs + L"\\VekPro";
    made.push_back(blocker);
    ASSERT_TRUE(UniqueFile(CreateFileW(blocker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
    const std::vector<std::wstring> before = LinksIn(programs);
    try {
        Make(L"", L"F:\\VekPro\\VEKCALC.EXE", L"VekPro\\Calculadora", blocker);
        ADD_FAILURE() << "a shortcut was made through the file " << blocker;
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number(), kPathFileAccessError) << error.Description();
    }
    EXPECT_EQ(LinksIn(programs), before);
    EXPECT_FALSE(IsFolder(blocker));
}

// What the writer wrote reads back field for field; a missing file and a
// file that is no shortcut read as none.
TEST_F(ShellLinksTest, ReadShortcutGivesEveryFieldOfASavedShortcutAndNothingElse) {
    const std::wstring linkPath = programs + L"\\Reordenar.lnk";
    MaximizeWindow = kTrue;
    Make(L"", L"F:\\VekPro\\VEKBIN.BAT", L"Reordenar", linkPath, L"IMATGES\\ZEMBRADO.ICO", L"BIN/ZEMBRADO.EXE",
         L"RuvoSoftware.VekPro.ReordenarFitxers");
    MaximizeWindow = kFalse;
    const ShortcutFields expected{L"F:\\VekPro\\VEKBIN.BAT", kShowMaximized, 0, L"F:\\VekPro\\IMATGES\\ZEMBRADO.ICO",
                                  0, L"", L"BIN/ZEMBRADO.EXE", L"F:\\VekPro", L"RuvoSoftware.VekPro.ReordenarFitxers"};
    EXPECT_EQ(shell.ReadShortcut(linkPath), expected);
    EXPECT_EQ(shell.ReadShortcut(programs + L"\\Missing.lnk"), std::nullopt);
    const std::wstring notALink = programs + L"\\notes.lnk";
    made.push_back(notALink);
    ASSERT_TRUE(UniqueFile(CreateFileW(notALink.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
    EXPECT_EQ(shell.ReadShortcut(notALink), std::nullopt);
}

}  // namespace
}  // namespace zoriza
