// ZORIZA.exe's lines as their readers get them: on a pipe or in a redirected
// file in the console's code page, in the log as UTF-8 after a line naming
// the version; a log of a run's own in %TEMP%, and a log that cannot be
// opened, which changes nothing but a line.
#include <gtest/gtest.h>

#include <windows.h>

#include <regex>
#include <set>
#include <stdexcept>
#include <string>

#include "app/version.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_support.h"

namespace zoriza::e2e {
namespace {

constexpr wchar_t kOutFolder[] = L"C:\\zoriza-out";
constexpr wchar_t kWorkedExampleSwitches[] =
    L"/create /edition:VekPro /folder:F:\\VekPro /platform:32 /desktop:yes /lang:ca";
constexpr char kLogHeaderStart[] = ZORIZA_PRODUCT_NAME " " ZORIZA_VERSION_TEXT ": ";

bool IsUtf8(const std::string& bytes) {
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr,
                               0) > 0;
}

std::wstring TempFolder() {
    wchar_t folder[MAX_PATH + 2] = {};
    GetTempPathW(MAX_PATH + 2, folder);
    return folder;
}

// ZORIZA.exe as an administrator's script runs it: from cmd in a console of
// its own whose output code page chcp set, the output redirected to `file`.
// cmd ends with the program's exit code.
DWORD RunRedirected(const std::wstring& arguments, unsigned codePage, const std::wstring& file) {
    std::wstring line = L"cmd.exe /c chcp " + std::to_wstring(codePage) + L" >nul & \"" + ProgramPath() + L"\" " +
                        arguments + L" >" + file;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, L"C:\\", &startup,
                        &started)) {
        throw std::runtime_error("cmd did not start");
    }
    return ExitCodeWithin(UniqueProcess(started), 60s);
}

class UnattendedOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        Clean();
        WriteFile(L"F:\\VekPro\\VEKBIN.BAT");
        ASSERT_TRUE(CreateDirectoryW(kOutFolder, nullptr));
    }
    void TearDown() override { Clean(); }

    static void Clean() {
        ClearSettings();
        RemoveTree(ProgramsFolder() + L"\\VekPro");
        for (const std::wstring& entry : EntriesIn(DesktopFolder())) RemoveTree(DesktopFolder() + L"\\" + entry);
        RemoveTree(kOutFolder);
    }
};

// Code page 850, as on a Spanish or Catalan Windows: "ó" is A2 there; "ã" is
// C6 there and missing from 437, the OEM code page of these runs, so only the
// console's code page gives it; "ő" is in neither and must show as "?".
TEST_F(UnattendedOutputTest, RedirectedLinesInTheConsoleCodePageAndTheLogInUtf8) {
    struct Case {
        std::wstring arguments;
        DWORD exitCode;
        std::string output;  // bytes the redirected output holds
        std::string logged;  // and the log
    };
    const Case cases[] = {
        {kWorkedExampleSwitches, 0, "\\VekPro\\Gesti\xA2 de bloquejos.lnk -> F:\\VekPro\\VEKLOCK.HTA\r\n",
         "\\VekPro\\Gesti\xC3\xB3 de bloquejos.lnk -> F:\\VekPro\\VEKLOCK.HTA\r\n"},
        {L"/create /folder:F:\\Vek\u00e3\u0151", 2, "not found: F:\\Vek\xC6?: Error 76: ",
         "not found: F:\\Vek\xC3\xA3\xC5\x91: Error 76: "},
    };
    const std::wstring out = std::wstring(kOutFolder) + L"\\out.txt";
    const std::wstring log = std::wstring(kOutFolder) + L"\\run.log";
    for (const Case& c : cases) {
        RemoveTree(log);
        EXPECT_EQ(RunRedirected(c.arguments + L" /log:" + log, 850, out), c.exitCode) << c.arguments;
        const std::string output = FileBytes(out);
        const std::string logged = FileBytes(log);
        EXPECT_NE(output.find(c.output), std::string::npos) << ::testing::PrintToString(output);
        EXPECT_NE(logged.find(c.logged), std::string::npos) << ::testing::PrintToString(logged);
        EXPECT_EQ(logged.rfind(kLogHeaderStart, 0), 0u) << ::testing::PrintToString(logged);
        EXPECT_TRUE(IsUtf8(logged)) << c.arguments;
    }
}

// /log alone: a new file named for the command, the time and a random part,
// named on the output: in %TEMP% for a user's run, in the machine's log
// folder for every user's. A log that cannot be opened is a line, and the
// run's exit code stays its own.
TEST_F(UnattendedOutputTest, ALogOfItsOwnAndALogThatCannotBeOpened) {
    const std::wstring ownLog = L"log: " + TempFolder() + L"ZORIZA-";
    const std::wstring machineLog = L"log: " + KnownFolder(FOLDERID_ProgramData) +
                                    L"\\Microsoft\\IntuneManagementExtension\\Logs\\ZORIZA-";
    const std::wstring notOpened = L"log not opened: C:\\no-such-folder\\z.log: Error 76: ";
    struct Case {
        std::wstring arguments;
        DWORD exitCode;
        std::wstring firstLine;  // how the first line begins
        bool ofItsOwn;
    };
    const Case cases[] = {
        {L"/create /folder:F:\\VekPro /log", 0, ownLog + L"create-", true},
        {L"/remove /log", 0, ownLog + L"remove-", true},
        {L"/remove /log", 0, ownLog + L"remove-", true},  // again: a file of its own, not the first one
        {L"/check /allusers /folder:F:\\VekPro /log", 6, machineLog + L"check-", true},
        {std::wstring(kWorkedExampleSwitches) + L" /log:C:\\no-such-folder\\z.log", 0, notOpened, false},
        {L"/create /folder:G:\\ /log:C:\\no-such-folder\\z.log", 2, notOpened, false},
    };
    std::set<std::wstring> ownLogs;
    for (const Case& c : cases) {
        const FinishedRun run = RunToEnd(ProgramPath(), c.arguments);
        const std::vector<std::wstring> lines = run.Lines();
        EXPECT_EQ(run.exitCode, c.exitCode) << ::testing::PrintToString(run.output);
        ASSERT_GE(lines.size(), 2u) << ::testing::PrintToString(run.output);
        EXPECT_EQ(lines.front().rfind(c.firstLine, 0), 0u) << lines.front();
        const std::wstring exitLine = L"exit " + std::to_wstring(c.exitCode) + L": ";
        EXPECT_EQ(lines.back().rfind(exitLine, 0), 0u) << lines.back();
        if (!c.ofItsOwn) continue;
        EXPECT_TRUE(std::regex_match(lines.front().substr(c.firstLine.size()), std::wregex(L"[0-9]{8}-[0-9]{6}-[0-9a-f]{16}\\.log")))
            << lines.front();
        const std::wstring path = lines.front().substr(5);
        EXPECT_TRUE(ownLogs.insert(path).second) << path;
        const std::string logged = FileBytes(path);
        EXPECT_EQ(logged.rfind(kLogHeaderStart, 0), 0u) << ::testing::PrintToString(logged);
        EXPECT_EQ(logged.find(kLogHeaderStart, 1), std::string::npos) << "a log of its own holds one run";
        EXPECT_NE(logged.find("\r\nexit " + std::to_string(c.exitCode) + ": "), std::string::npos);
        RemoveTree(path);
    }
    EXPECT_FALSE(FolderExists(L"C:\\no-such-folder"));
}

}  // namespace
}  // namespace zoriza::e2e
