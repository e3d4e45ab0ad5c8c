// Servers that stop answering, on the real program. The prefix setup serves
// a:, b:, d: and e: from a test file system that answers until it is told to
// stall, and then holds every request below the drive's root for two
// minutes, or that answers slowly when told to, holding the launcher; f: is
// the application server. The program waits for a drive at
// most its bound of 3 seconds, answering Windows meanwhile: the window
// opens, the scan still finds f:, a drive change or CREAR onto a stalled
// drive is reported and the window stays, and Esc or closing the window ends
// the program at once, during a wait too, though threads of it still wait.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/error_report.h"
#include "tests/e2e/server_lists.h"
#include "tests/e2e/stored_settings.h"

namespace zoriza::e2e {
namespace {

using Clock = std::chrono::steady_clock;

constexpr wchar_t kStallingDrives[] = {L'a', L'b', L'd', L'e'};
// What the program may take for a wait on stalled drives: its bound, with
// room for a busy machine. A wait that was not bounded lasts the two minutes
// of the stall; one bound for each stalled drive in turn, 12 s for four.
constexpr auto kBoundedWait = 8s;
constexpr double kBoundedWaitSeconds = std::chrono::duration<double>(kBoundedWait).count();

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class StalledServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t letter : kStallingDrives) {
            ASSERT_TRUE(HasDrive(letter)) << "no stalling drive " << static_cast<char>(letter)
                                          << ": the prefix setup mounts them (ZORIZA_STALLING_DRIVES)";
            TellStallingServer(letter, "answer");
        }
        ClearSettings();
    }

    void TearDown() override {
        for (const wchar_t letter : kStallingDrives) TellStallingServer(letter, "answer");
        ClearSettings();
    }

    static void ExpectNoMessageBox(RunningProgram& program) {
        const auto box = program.WaitForMessageBox(1s);
        EXPECT_FALSE(box.has_value()) << testing::PrintToString(box->title + L"|" + box->text);
        if (box) program.CloseMessageBox();
    }

    // Esc ends the program at once, with threads of it still waiting on a
    // stalled drive.
    static void ExpectEndsAtOnce(RunningProgram& program) {
        program.PressKey(ControlId::Dir1, VK_ESCAPE);
        EXPECT_TRUE(program.WaitForExit(kBoundedWait));
        EXPECT_EQ(program.ExitCode(), 0u);
    }

    // Starts the program in C:\ and goes to E:\VekPro while e: answers, then
    // back to C:\ unless `stayOnE`; then e: stalls.
    static void VisitThenStallDriveE(RunningProgram& program, bool stayOnE) {
        ASSERT_NE(program.Window(), nullptr);
        ASSERT_TRUE(program.MoveToServerFolder(L'e', L"VekPro")) << testing::PrintToString(Describe(Read(program)));
        if (!stayOnE) {
            program.ChooseDrive(L'c');
            ASSERT_TRUE(program.WaitUntil([&] { return Read(program).folders.at(0) == L"C:\\"; }));
        }
        TellStallingServer(L'e', "stall");
    }
};

TEST_F(StalledServerTest, TheScanFindsTheServerDrivePastStalledDrivesWithinOneBound) {
    const std::vector<std::vector<wchar_t>> cases = {{L'e'}, {L'a', L'b', L'd', L'e'}};
    for (const std::vector<wchar_t>& stalled : cases) {
        const std::string description = std::to_string(stalled.size()) + " stalled drive(s) before f:";
        for (const wchar_t letter : stalled) TellStallingServer(letter, "stall");
        RunningProgram program;
        ASSERT_NE(program.Window(), nullptr) << description;

        const auto start = Clock::now();
        program.Click(ControlId::Search);
        EXPECT_TRUE(program.WaitUntil([&] { return ShowsEditionFolderOn(Read(program), L'f'); }, 30s))
            << description << ": " << testing::PrintToString(Describe(Read(program)));
        const double seconds = SecondsSince(start);
        EXPECT_LT(seconds, kBoundedWaitSeconds) << description;
        RecordProperty("scan_seconds_" + std::to_string(stalled.size()) + "_stalled", std::to_string(seconds));
        ExpectNoMessageBox(program);
        ExpectEndsAtOnce(program);
        for (const wchar_t letter : stalled) TellStallingServer(letter, "answer");
    }
}

// A server that answers, only slowly (a drive reconnecting after logon, a
// VPN), after a: says no at once: its late "yes" counts, in the window's
// scan and in a logon script's.
TEST_F(StalledServerTest, TheScanFindsASlowServerThatHoldsTheLauncher) {
    TellStallingServer(L'b', "slow");
    {
        RunningProgram program;
        ASSERT_NE(program.Window(), nullptr);
        program.Click(ControlId::Search);
        EXPECT_TRUE(program.WaitUntil([&] { return ShowsEditionFolderOn(Read(program), L'b'); }, 30s))
            << testing::PrintToString(Describe(Read(program)));
        ExpectNoMessageBox(program);
        ExpectEndsAtOnce(program);
    }
    // Its first answer late again, as after a reconnection.
    TellStallingServer(L'b', "answer");
    std::this_thread::sleep_for(200ms);
    TellStallingServer(L'b', "slow");
    std::this_thread::sleep_for(200ms);
    // The scan's answer is what counts here. The shortcuts' writing asks this
    // test server many times more than Windows asks a real one (Wine resolves
    // each target part by part), and under load may outlast the bound.
    const FinishedRun run = RunToEnd(ProgramPath(), L"/create /scan", L"C:\\", false, 30s);
    EXPECT_NE(run.exitCode, 2u) << testing::PrintToString(run.output);
    EXPECT_EQ(run.Lines().front(), L"found: B:\\VekPro") << testing::PrintToString(run.output);
    RemoveTree(ProgramsFolder() + L"\\VekPro");
}

TEST_F(StalledServerTest, StartUpPassesOverASavedFolderOnAStalledDrive) {
    StoreText(kDirectori, L"E:\\VekPro");
    const StoredSettings before = StoredNow();
    TellStallingServer(L'e', "stall");

    const auto start = Clock::now();
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr) << "the window did not open";
    EXPECT_LT(SecondsSince(start), kBoundedWaitSeconds);
    const Lists lists = Read(program);
    EXPECT_EQ(lists.drive.substr(0, 2), L"c:") << testing::PrintToString(Describe(lists));
    EXPECT_EQ(lists.folders.at(0), L"C:\\") << testing::PrintToString(Describe(lists));
    ExpectNoMessageBox(program);
    EXPECT_TRUE(Unchanged(before));
    ExpectEndsAtOnce(program);
}

// The folder last shown on e: is asked for again: the drive's root itself
// still answers (Wine needs it to list the drive), the folder below does not.
TEST_F(StalledServerTest, ADriveChangeOntoAStalledDriveIsReportedAndUndone) {
    RunningProgram program;
    VisitThenStallDriveE(program, false);
    if (HasFatalFailure()) return;
    const Lists before = Read(program);

    program.ChooseDrive(L'e');
    EXPECT_TRUE(IsErrorReport(program.WaitForMessageBox(kBoundedWait), L"", 68, L"Device unavailable"));
    program.CloseMessageBox();
    const Lists after = Read(program);
    EXPECT_EQ(after.drive, before.drive);
    EXPECT_EQ(after.folders, before.folders);
    EXPECT_EQ(after.selected, before.selected);
    ExpectNoMessageBox(program);
    ExpectEndsAtOnce(program);
}

// A logon script's /create with the saved folder on a stalled drive: the
// folder is passed over, no launcher is found where the program starts, and
// nothing is written.
TEST_F(StalledServerTest, TheUnattendedCreatePassesOverASavedFolderOnAStalledDrive) {
    StoreText(kDirectori, L"E:\\VekPro");
    const StoredSettings before = StoredNow();
    TellStallingServer(L'e', "stall");

    const FinishedRun run = RunToEnd(ProgramPath(), L"/create", L"C:\\", false, 30s);
    EXPECT_EQ(run.exitCode, 2u) << testing::PrintToString(run.output);
    EXPECT_LT(run.milliseconds, kBoundedWaitSeconds * 1000);
    EXPECT_FALSE(FolderExists(ProgramsFolder() + L"\\VekPro"));
    EXPECT_TRUE(Unchanged(before));
}

TEST_F(StalledServerTest, CreateWithTheFolderOnAStalledDriveIsReportedAndWritesNothing) {
    RunningProgram program;
    VisitThenStallDriveE(program, true);
    if (HasFatalFailure()) return;
    const StoredSettings before = StoredNow();

    program.Click(ControlId::Intro);
    // A second into the wait on e:, the window still answers Windows.
    std::this_thread::sleep_for(1s);
    DWORD_PTR ignored = 0;
    EXPECT_NE(SendMessageTimeoutW(program.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 500, &ignored), 0)
        << "the window does not answer while it waits for the drive";
    EXPECT_TRUE(IsErrorReport(program.WaitForMessageBox(kBoundedWait), L"", 68, L"Device unavailable"));
    program.CloseMessageBox();
    EXPECT_TRUE(IsWindowVisible(program.Window()));
    EXPECT_FALSE(FolderExists(ProgramsFolder() + L"\\VekPro"));
    EXPECT_TRUE(Unchanged(before));
    ExpectNoMessageBox(program);
    ExpectEndsAtOnce(program);
}

// A Desktop redirected to a server that falls silent after the launcher
// test: the desktop shortcut is reported within the bound, and nothing is
// written or saved.
TEST_F(StalledServerTest, ADesktopOnAStalledServerIsReportedWithinTheBound) {
    const RedirectedDesktop redirected(L"E:\\VekPro");
    TellStallingServer(L'e', "stall");
    const StoredSettings before = StoredNow();

    const FinishedRun run = RunToEnd(ProgramPath(), L"/create /folder:F:\\VekPro /desktop:yes", L"C:\\", false, 30s);
    EXPECT_EQ(run.exitCode, 3u) << testing::PrintToString(run.output);
    EXPECT_LT(run.milliseconds, kBoundedWaitSeconds * 1000);
    EXPECT_NE(run.output.find(L"failed: Desktop\\"), std::wstring::npos) << testing::PrintToString(run.output);
    EXPECT_NE(run.output.find(L"Error 68: Device unavailable"), std::wstring::npos) << testing::PrintToString(run.output);
    EXPECT_FALSE(FolderExists(ProgramsFolder() + L"\\VekPro"));
    EXPECT_TRUE(Unchanged(before));
}

// The way out during CREAR's wait on the stalled drive ends the program at
// once, as it does outside a wait: the create command writes and saves
// nothing more. Missed, the program would never end: once the bound ran out
// it would show the error report, and keep the input for after it. So "at
// once" is anything short of the bound: 2 s, the wait being half a second in.
TEST_F(StalledServerTest, TheWayOutDuringCreatesWaitEndsTheProgramAtOnce) {
    struct WayOut {
        const char* description;
        void (*take)(RunningProgram&);
    };
    const WayOut ways[] = {
        {"Esc", [](RunningProgram& program) { program.PressKey(ControlId::Intro, VK_ESCAPE); }},
        {"Esc after other keys",
         [](RunningProgram& program) {
             program.PressKey(ControlId::Intro, 'A');
             program.PressKey(ControlId::Intro, VK_ESCAPE);
         }},
        {"Alt+F4", [](RunningProgram& program) { PostMessageW(program.Window(), WM_SYSKEYDOWN, VK_F4, 1 << 29 | 1); }},
        {"a click on the close box", [](RunningProgram& program) { program.ClickCloseBox(); }},
        {"the system menu's Close", [](RunningProgram& program) { program.CloseWindow(); }},
        {"a close sent by another program",
         [](RunningProgram& program) {
             DWORD_PTR ignored = 0;
             SendMessageTimeoutW(program.Window(), WM_CLOSE, 0, 0, SMTO_NORMAL, 1000, &ignored);
         }},
    };
    for (const WayOut& way : ways) {
        RunningProgram program;
        VisitThenStallDriveE(program, true);
        if (HasFatalFailure()) return;
        const StoredSettings before = StoredNow();

        program.Click(ControlId::Intro);
        std::this_thread::sleep_for(500ms);  // into the wait on e:
        const auto start = Clock::now();
        way.take(program);
        EXPECT_TRUE(program.WaitForExit(2s)) << way.description;
        RecordProperty(std::string("way_out_seconds_") + way.description, std::to_string(SecondsSince(start)));
        EXPECT_EQ(program.ExitCode(), 0u) << way.description;
        EXPECT_FALSE(FolderExists(ProgramsFolder() + L"\\VekPro")) << way.description;
        EXPECT_TRUE(Unchanged(before)) << way.description;
        TellStallingServer(L'e', "answer");
    }
}

}  // namespace
}  // namespace zoriza::e2e
