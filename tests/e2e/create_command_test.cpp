// The create command on the real program: the worked example from the window
// to the .lnk files and the registry, its 16-bit variant, a launcher that is
// not there, a drive root, and a failure part-way that leaves the window up.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/error_report.h"
#include "tests/e2e/expected_link.h"
#include "tests/e2e/stored_settings.h"
#include "tests/shared/worked_example.h"

namespace zoriza::e2e {
namespace {

using expected::ExpectedShortcut;
using expected::LinkFolder;
constexpr const wchar_t* kEdition = expected::kWorkedExampleEdition;
using Settings = std::vector<expected::ExpectedSetting>;

class CreateCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        RemoveTree(ProgramsFolder() + L"\\VekPro");
        RemoveTree(ProgramsFolder() + L"\\Stand");
        for (const std::wstring& link : LinksUnder(DesktopFolder())) DeleteFileW((DesktopFolder() + L"\\" + link).c_str());
        WriteFile(L"F:\\VekPro\\VEKBIN.BAT");
        WriteFile(L"F:\\VekPro\\VEKPRO.BAT");
        DeleteFileW(L"F:\\VEKBIN.BAT");
    }

    // Catalan, edition 0, the given platform, the folder list at F:\VekPro.
    void Choose(RunningProgram& program, ControlId platform, bool desktop) {
        ASSERT_NE(program.Window(), nullptr);
        program.Click(platform);
        ASSERT_TRUE(program.WaitUntil([&] { return program.Checked(platform); }));
        if (desktop) {
            program.Click(ControlId::Icona);
            ASSERT_TRUE(program.WaitUntil([&] { return program.Checked(ControlId::Icona); }));
        }
        ASSERT_TRUE(program.MoveToServerFolder(L'f', L"VekPro"));
    }

    // "title|text" of the create command's message box.
    std::wstring CreateAndReadReport(RunningProgram& program) {
        const auto box = program.ClickAndReadMessage(ControlId::Intro);
        return box ? box->title + L"|" + box->text : L"<no message box>";
    }

    // Copies the shortcuts to ZORIZA_LNK_EXPORT for a reader on the Linux side.
    void Export(const std::wstring& folderName) {
        const std::wstring exportRoot = EnvironmentValue(L"ZORIZA_LNK_EXPORT");
        if (exportRoot.empty()) return;
        const std::wstring target = exportRoot + L"\\" + folderName;
        RemoveTree(target);
        CreateDirectoryW(exportRoot.c_str(), nullptr);
        CreateDirectoryW(target.c_str(), nullptr);
        for (const std::wstring& link : LinksUnder(ProgramsFolder() + L"\\VekPro")) {
            CopyFileW((ProgramsFolder() + L"\\VekPro\\" + link).c_str(), (target + L"\\" + link).c_str(), FALSE);
        }
    }

    ComScope com;
};

TEST_F(CreateCommandTest, WorkedExample) {
    RunningProgram program;
    Choose(program, ControlId::Platform1, true);
    EXPECT_EQ(CreateAndReadReport(program), std::wstring(L"ZORIZA|") + expected::kWorkedExampleReport);
    ExpectLinks(expected::kWorkedExampleShortcuts);
    EXPECT_EQ(LinksUnder(ProgramsFolder()).size(), 7u);
    EXPECT_EQ(LinksUnder(DesktopFolder()).size(), 1u);
    ExpectStoredSettings(expected::kWorkedExampleSettings);
    Export(L"worked-example");
}

// On a 32-bit Windows, where 16 bit is offered, the next start restores it;
// elsewhere the option is disabled, and a click made by code still selects it.
TEST_F(CreateCommandTest, SixteenBitVariant) {
    {
        RunningProgram program;
        EXPECT_EQ(program.Enabled(ControlId::Platform0), On32BitWindows());
        Choose(program, ControlId::Platform0, false);
        EXPECT_EQ(CreateAndReadReport(program), std::wstring(L"ZORIZA|") + expected::kWorkedExampleReport);
    }
    if (On32BitWindows()) {
        RunningProgram restarted;
        ASSERT_NE(restarted.Window(), nullptr);
        EXPECT_TRUE(restarted.Checked(ControlId::Platform0));
        EXPECT_TRUE(restarted.Enabled(ControlId::Platform0));
    }
    const ExpectedShortcut differences[] = {
        {LinkFolder::Programs, L"VekPro\\VekPro Professional", L"F:\\VekPro\\VEKPRO.BAT",
         L"F:\\VekPro\\IMATGES\\RUVO.ICO", L"", L"F:\\VekPro", 3, L"RuvoSoftware.VekPro.Aplicacio"},
        {LinkFolder::Programs, L"VekPro\\Reordenar fitxers", L"F:\\VekPro\\VEKPRO.BAT",
         L"F:\\VekPro\\IMATGES\\ZEMBRADO.ICO", L"BIN16/ZEMBRADO.EXE", L"F:\\VekPro", 3,
         L"RuvoSoftware.VekPro.ReordenarFitxers"},
    };
    ExpectLinks(differences);
    EXPECT_EQ(LinksUnder(ProgramsFolder()).size(), 7u);
    EXPECT_TRUE(LinksUnder(DesktopFolder()).empty());
    ExpectStoredSettings(Settings{{L"Plataforma", L"0"}, {L"Icona0", L"0"}});
}

TEST_F(CreateCommandTest, ALauncherThatIsNotAPlainFileIsNotThere) {
    struct Case {
        const wchar_t* description;
        void (*arrange)();
    };
    const Case cases[] = {
        {L"missing", [] { DeleteFileW(L"F:\\VekPro\\VEKBIN.BAT"); }},
        {L"hidden", [] { WriteFile(L"F:\\VekPro\\VEKBIN.BAT", FILE_ATTRIBUTE_HIDDEN); }},
        {L"a folder", [] {
             DeleteFileW(L"F:\\VekPro\\VEKBIN.BAT");
             CreateDirectoryW(L"F:\\VekPro\\VEKBIN.BAT", nullptr);
         }},
    };
    for (const Case& c : cases) {
        SetUp();
        c.arrange();
        RunningProgram program;
        Choose(program, ControlId::Platform2, true);
        const auto box = program.ClickAndReadMessage(ControlId::Intro);
        ASSERT_TRUE(box.has_value()) << c.description;
        EXPECT_EQ(box->title + L"|" + box->text,
                  std::wstring(L"NO S'HA TROBAT|") + kEdition + L"\r\n\r\nF:\\VekPro\\VEKBIN.BAT")
            << c.description;
        EXPECT_TRUE(box->errorIcon) << c.description;
        EXPECT_TRUE(LinksUnder(ProgramsFolder()).empty()) << c.description;
        EXPECT_TRUE(LinksUnder(DesktopFolder()).empty()) << c.description;
        EXPECT_FALSE(SettingsKeyExists()) << c.description;
        RemoveTree(L"F:\\VekPro\\VEKBIN.BAT");
    }
}

TEST_F(CreateCommandTest, AtADriveRoot) {
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    program.ChooseDrive(L'f');
    ASSERT_TRUE(program.WaitUntil([&] { return program.ListText(ControlId::Dir1, 0) == L"F:\\"; }));
    EXPECT_EQ(CreateAndReadReport(program),
              std::wstring(L"NO S'HA TROBAT|") + kEdition + L"\r\n\r\nF:\\\\VEKBIN.BAT");
    WriteFile(L"F:\\VEKBIN.BAT");
    EXPECT_EQ(CreateAndReadReport(program), L"ZORIZA|Creats accessos al servidor F:\\");
    const LinkFields calculator = ReadLink(ProgramsFolder() + L"\\VekPro\\Calculadora.lnk");
    EXPECT_EQ(calculator.target, L"F:\\VEKCALC.EXE");
    EXPECT_EQ(calculator.workingDirectory, L"F:\\");
    EXPECT_EQ(calculator.iconLocation, L"F:\\\\IMATGES\\VEKCALC.ICO");
    ExpectStoredSettings(Settings{{L"Directori", L"F:\\"}});
}

TEST_F(CreateCommandTest, AFileInTheWayIsReportedAndTheWindowStaysUsable) {
    WriteFile(ProgramsFolder() + L"\\VekPro");
    RunningProgram program;
    Choose(program, ControlId::Platform1, true);
    EXPECT_TRUE(IsErrorReport(program.ClickAndReadMessage(ControlId::Intro),
                              std::wstring(L"Programs\\VekPro\\") + kEdition + L".lnk", 75));
    EXPECT_EQ(LinksUnder(DesktopFolder()).size(), 1u);  // written before the failure
    EXPECT_FALSE(SettingsKeyExists());

    // Still running and usable: the file out of the way, the command succeeds.
    RemoveTree(ProgramsFolder() + L"\\VekPro");
    EXPECT_EQ(CreateAndReadReport(program), L"ZORIZA|Creats accessos al servidor F:\\VekPro\\");
    EXPECT_EQ(LinksUnder(ProgramsFolder()).size(), 7u);
    program.PressKey(ControlId::Intro, VK_ESCAPE);
    EXPECT_TRUE(program.WaitForExit());
}

}  // namespace
}  // namespace zoriza::e2e
