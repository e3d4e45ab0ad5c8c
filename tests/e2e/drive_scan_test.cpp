// The drive list and the server scan on the real program: the scan lands on
// the first drive, in list order, whose edition folder holds the launcher as
// a plain file, or says it found none; drives that cannot be read are passed
// over quietly. Choosing such a drive by hand shows the error report and puts
// the drive list back, and the program carries on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/error_report.h"
#include "tests/e2e/server_lists.h"

namespace zoriza::e2e {
namespace {

constexpr wchar_t kEdition[] = L"VekPro Professional";
constexpr wchar_t kNotFoundTitle[] = L"NO S'HA TROBAT";

DWORD LookupError(const wchar_t* path) {
    SetLastError(ERROR_SUCCESS);
    return GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
}

// A file with its folders; the default content is a one-line batch file.
void Put(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    for (std::size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1)) {
        CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    }
    WriteFile(path, attributes);
}

// The servers as the prefix setup leaves them: both launchers on f:, g: empty.
void RestoreServers() {
    RemoveTree(L"F:\\VekPro\\VEKBIN.BAT");
    RemoveTree(L"F:\\VekPro\\VEKPRO.BAT");
    Put(L"F:\\VekPro\\VEKBIN.BAT");
    Put(L"F:\\VekPro\\VEKPRO.BAT");
    RemoveTree(L"F:\\Apps");
    RemoveTree(L"F:\\VEKBIN.BAT");
    RemoveTree(L"G:\\VekPro");
}

struct ScanCase {
    const char* description;
    void (*arrange)();
    const wchar_t* start;  // the program's current folder
    wchar_t lands;         // the drive the scan moves to, or 0 for "not found"
};

class DriveScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Every drive is scanned, the prefix's own c: and the Unix root z: too.
        for (const wchar_t* folder : {L"C:\\VekPro", L"Z:\\VekPro"}) {
            if (GetFileAttributesW(folder) != INVALID_FILE_ATTRIBUTES) {
                FAIL() << "a VekPro folder outside the test servers would be found: "
                       << testing::PrintToString(std::wstring(folder)) << " (z: is this machine's root folder)";
            }
        }
        ClearSettings();
        RestoreServers();
    }

    void TearDown() override {
        RestoreServers();
        ClearSettings();
    }

    static StartOptions StartIn(const std::wstring& folder, bool sixteenBitOffered = false) {
        StartOptions options;
        options.currentFolder = folder;
        // Without "ProgramFiles(x86)" the program sees a 32-bit Windows and offers 16 bit.
        if (sixteenBitOffered) options.environment[L"ProgramFiles(x86)"] = std::nullopt;
        return options;
    }

    static void ChoosePlatform(RunningProgram& program, ControlId platform) {
        ASSERT_TRUE(program.Enabled(platform));
        program.Click(platform);
        ASSERT_TRUE(program.WaitUntil([&] { return program.Checked(platform); }));
    }

    // Runs the scan and checks where it leaves the lists, or its not-found
    // message naming `launcher`.
    static void ExpectScan(RunningProgram& program, wchar_t lands, const std::wstring& launcher,
                           const char* description) {
        const Lists before = Read(program);
        program.Click(ControlId::Search);
        if (lands != 0) {
            EXPECT_TRUE(program.WaitUntil([&] { return ShowsEditionFolderOn(Read(program), lands); }, 20s))
                << description << ": " << testing::PrintToString(Describe(Read(program)));
            const auto box = program.WaitForMessageBox(1s);
            EXPECT_FALSE(box.has_value()) << description << ": " << testing::PrintToString(box->title + L"|" + box->text);
            if (box) program.CloseMessageBox();
            return;
        }
        const auto box = program.WaitForMessageBox(20s);
        ASSERT_TRUE(box.has_value()) << description << ": " << testing::PrintToString(Describe(Read(program)));
        EXPECT_EQ(box->title, kNotFoundTitle) << description;
        EXPECT_EQ(box->text, std::wstring(kEdition) + L"\r\n\r\n" + launcher) << description;
        EXPECT_TRUE(box->errorIcon) << description;
        program.CloseMessageBox();
        const Lists after = Read(program);
        EXPECT_EQ(after.drive, before.drive) << description;
        EXPECT_EQ(after.folders, before.folders) << description;
        EXPECT_EQ(after.selected, before.selected) << description;
        const auto another = program.WaitForMessageBox(1s);
        EXPECT_FALSE(another.has_value()) << description << ": " << testing::PrintToString(another->text);
        if (another) program.CloseMessageBox();
    }

    // Chooses `letter` in the drive list from F:\VekPro: the error report,
    // then both lists as they were, and the program still answers.
    static void ExpectDriveRefused(wchar_t letter, std::optional<int> errorNumber) {
        RunningProgram program(StartIn(L"F:\\VekPro"));
        ASSERT_NE(program.Window(), nullptr);
        const Lists before = Read(program);
        ASSERT_TRUE(ShowsEditionFolderOn(before, L'f')) << testing::PrintToString(Describe(before));

        program.ChooseDrive(letter);
        const auto box = program.WaitForMessageBox();
        ASSERT_TRUE(box.has_value()) << testing::PrintToString(Describe(Read(program)));
        EXPECT_TRUE(IsErrorReport(box, L"", errorNumber));
        program.CloseMessageBox();

        const Lists after = Read(program);
        EXPECT_EQ(after.drive, before.drive);
        EXPECT_EQ(after.folders, before.folders);
        EXPECT_EQ(after.selected, before.selected);
        const auto another = program.WaitForMessageBox(1s);
        EXPECT_FALSE(another.has_value()) << testing::PrintToString(another->text);
        if (another) program.CloseMessageBox();

        // Still running: another drive can be chosen, and Esc ends it normally.
        program.ChooseDrive(L'g');
        EXPECT_TRUE(program.WaitUntil([&] {
            const Lists lists = Read(program);
            return lists.drive.substr(0, 2) == L"g:" && !lists.folders.empty() && lists.folders[0] == L"G:\\";
        })) << testing::PrintToString(Describe(Read(program)));
        program.PressKey(ControlId::Dir1, VK_ESCAPE);
        EXPECT_TRUE(program.WaitForExit());
        EXPECT_EQ(program.ExitCode(), 0u);
    }

    void RunCases(const std::vector<ScanCase>& cases, bool sixteenBit) {
        for (const ScanCase& c : cases) {
            RestoreServers();
            c.arrange();
            RunningProgram program(StartIn(c.start, sixteenBit));
            ASSERT_NE(program.Window(), nullptr) << c.description;
            if (sixteenBit) ChoosePlatform(program, ControlId::Platform0);
            if (HasFatalFailure()) return;
            ExpectScan(program, c.lands, sixteenBit ? L"VekPro\\VEKPRO.BAT" : L"VekPro\\VEKBIN.BAT", c.description);
        }
    }
};

TEST_F(DriveScanTest, LandsOnTheFirstDriveHoldingThePlainLauncher) {
    RunCases({
        {"on f:, another copy on the later drive g:", [] { Put(L"G:\\VekPro\\VEKBIN.BAT"); }, L"G:\\", L'f'},
        {"on f:, scanning from a folder below it", [] {}, L"F:\\VekPro\\IMATGES", L'f'},
        {"only on g: (c:, the dangling d: and f: passed over)",
         [] {
             DeleteFileW(L"F:\\VekPro\\VEKBIN.BAT");
             Put(L"G:\\VekPro\\VEKBIN.BAT");
         },
         L"C:\\", L'g'},
        {"hidden on f:, plain on g:",
         [] {
             WriteFile(L"F:\\VekPro\\VEKBIN.BAT", FILE_ATTRIBUTE_HIDDEN);
             Put(L"G:\\VekPro\\VEKBIN.BAT");
         },
         L"C:\\", L'g'},
        {"a system file on f:, plain on g:",
         [] {
             WriteFile(L"F:\\VekPro\\VEKBIN.BAT", FILE_ATTRIBUTE_SYSTEM);
             Put(L"G:\\VekPro\\VEKBIN.BAT");
         },
         L"C:\\", L'g'},
        {"a folder of that name on f:, a file on g:",
         [] {
             DeleteFileW(L"F:\\VekPro\\VEKBIN.BAT");
             CreateDirectoryW(L"F:\\VekPro\\VEKBIN.BAT", nullptr);
             Put(L"G:\\VekPro\\VEKBIN.BAT");
         },
         L"C:\\", L'g'},
    }, false);
}

TEST_F(DriveScanTest, SaysSoWhenNoDriveHoldsThePlainLauncher) {
    RunCases({
        {"only one folder deeper, in F:\\Apps\\VekPro",
         [] {
             DeleteFileW(L"F:\\VekPro\\VEKBIN.BAT");
             Put(L"F:\\Apps\\VekPro\\VEKBIN.BAT");
         },
         L"F:\\VekPro\\IMATGES", 0},
        {"only at f:'s root",
         [] {
             DeleteFileW(L"F:\\VekPro\\VEKBIN.BAT");
             Put(L"F:\\VEKBIN.BAT");
         },
         L"G:\\", 0},
        {"only hidden, on f:", [] { WriteFile(L"F:\\VekPro\\VEKBIN.BAT", FILE_ATTRIBUTE_HIDDEN); }, L"C:\\", 0},
        {"only the 16-bit launcher, on f:", [] { DeleteFileW(L"F:\\VekPro\\VEKBIN.BAT"); }, L"G:\\", 0},
    }, false);
}

// The 16-bit option is offered only on a 32-bit Windows, so these start
// without "ProgramFiles(x86)".
TEST_F(DriveScanTest, SixteenBitLooksForItsOwnLauncher) {
    RunCases({
        {"both launchers on f:", [] {}, L"C:\\", L'f'},
        {"VEKPRO.BAT only on g:, VEKBIN.BAT on f:",
         [] {
             DeleteFileW(L"F:\\VekPro\\VEKPRO.BAT");
             Put(L"G:\\VekPro\\VEKPRO.BAT");
         },
         L"C:\\", L'g'},
        {"VEKBIN.BAT on f: and g:, VEKPRO.BAT nowhere",
         [] {
             DeleteFileW(L"F:\\VekPro\\VEKPRO.BAT");
             Put(L"G:\\VekPro\\VEKBIN.BAT");
         },
         L"G:\\", 0},
    }, true);
}

TEST_F(DriveScanTest, ADriveThatIsNotReadyIsPassedOverQuietly) {
    ASSERT_TRUE(HasDrive(L'n')) << "no drive n: that is not ready: the prefix setup mounts one";
    ASSERT_EQ(LookupError(L"N:\\VekPro\\VEKBIN.BAT"), static_cast<DWORD>(ERROR_NOT_READY));
    // Nothing to find on f: or g:, so the scan goes on past n: to z:.
    RunCases({{"nothing on f: or g:", [] { DeleteFileW(L"F:\\VekPro\\VEKBIN.BAT"); }, L"G:\\", 0}}, false);
}

TEST_F(DriveScanTest, ChoosingADriveThatIsNotReadyIsReportedAndUndone) {
    ASSERT_TRUE(HasDrive(L'n')) << "no drive n: that is not ready: the prefix setup mounts one";
    ASSERT_EQ(LookupError(L"N:\\VekPro\\VEKBIN.BAT"), static_cast<DWORD>(ERROR_NOT_READY));
    // The number is whatever the system answers for the drive's root (Wine
    // says "path not found" there, a real card reader "not ready").
    ExpectDriveRefused(L'n', std::nullopt);
}

// The link of d: points nowhere: its root is a path that is not found.
TEST_F(DriveScanTest, ChoosingADanglingDriveIsReportedAndUndone) {
    ASSERT_EQ(LookupError(L"D:\\"), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    ExpectDriveRefused(L'd', 76);
}

}  // namespace
}  // namespace zoriza::e2e
