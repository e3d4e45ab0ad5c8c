// The create command on the real program: the worked example from the window
// to the .lnk files and the registry, its 16-bit variant, a launcher that is
// not there, a drive root, and a failure part-way that leaves the window up.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_support.h"

namespace zoriza::e2e {
namespace {

constexpr wchar_t kEdition[] = L"VekPro Professional";

struct ExpectedLink {
    std::wstring file;  // below Programs, or "Desktop\" and the name
    std::wstring target;
    std::wstring icon;
    std::wstring arguments;
    DWORD show;
};

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

    std::wstring CreateAndReadReport(RunningProgram& program, bool* errorIcon = nullptr) {
        program.Click(ControlId::Intro);
        const auto box = program.WaitForMessageBox(20s);
        if (!box) return L"<no message box>";
        program.CloseMessageBox();
        if (errorIcon) *errorIcon = box->errorIcon;
        return box->title + L"|" + box->text;
    }

    void ExpectLinks(const std::vector<ExpectedLink>& expected) {
        for (const ExpectedLink& e : expected) {
            const bool onDesktop = e.file.rfind(L"Desktop\\", 0) == 0;
            const std::wstring path = onDesktop ? DesktopFolder() + e.file.substr(7) : ProgramsFolder() + L"\\" + e.file;
            ASSERT_TRUE(FileExists(path)) << path;
            const LinkFields link = ReadLink(path);
            EXPECT_EQ(link.target, e.target) << e.file;
            EXPECT_EQ(link.iconLocation, e.icon) << e.file;
            EXPECT_EQ(link.iconIndex, 0) << e.file;
            EXPECT_EQ(link.arguments, e.arguments) << e.file;
            EXPECT_EQ(link.workingDirectory, L"F:\\VekPro") << e.file;
            EXPECT_EQ(link.description, L"") << e.file;
            EXPECT_EQ(link.hotkey, 0) << e.file;
            EXPECT_EQ(link.showCommand, e.show) << e.file;
        }
    }

    void ExpectSettings(const std::vector<std::pair<const wchar_t*, std::wstring>>& expected) {
        for (const auto& [name, text] : expected) {
            const auto value = Stored(name);
            ASSERT_TRUE(value.has_value()) << name;
            EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ)) << name;
            EXPECT_EQ(value->Text(), text) << name;
        }
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
    EXPECT_EQ(CreateAndReadReport(program), L"ZORIZA|Creats accessos al servidor F:\\VekPro\\");
    ExpectLinks({
        {std::wstring(L"Desktop\\") + kEdition + L".lnk", L"F:\\VekPro\\VEKBIN.BAT", L"F:\\VekPro\\RUVO.ICO", L"", 3},
        {std::wstring(L"VekPro\\") + kEdition + L".lnk", L"F:\\VekPro\\VEKBIN.BAT", L"F:\\VekPro\\IMATGES\\RUVO.ICO", L"", 3},
        {L"VekPro\\Calculadora.lnk", L"F:\\VekPro\\VEKCALC.EXE", L"F:\\VekPro\\IMATGES\\VEKCALC.ICO", L"", 1},
        {L"VekPro\\Calendari.lnk", L"F:\\VekPro\\VEKCAL.HTA", L"F:\\VekPro\\IMATGES\\VEKCAL.ICO", L"", 1},
        {L"VekPro\\Gestió de bloquejos.lnk", L"F:\\VekPro\\VEKLOCK.HTA", L"F:\\VekPro\\IMATGES\\VEKLOCK.ICO", L"", 1},
        {L"VekPro\\Gestió documental.lnk", L"F:\\VekPro\\VEKDOCS.EXE", L"F:\\VekPro\\IMATGES\\VEKDOCS.ICO", L"", 1},
        {L"VekPro\\Reordenar fitxers.lnk", L"F:\\VekPro\\VEKBIN.BAT", L"F:\\VekPro\\IMATGES\\ZEMBRADO.ICO", L"BIN/ZEMBRADO.EXE", 3},
        {L"VekPro\\Servei d'actualitzacions.lnk", L"F:\\VekPro\\VEKUPDAT.HTA", L"F:\\VekPro\\IMATGES\\VEKUPDAT.ICO", L"", 1},
    });
    EXPECT_EQ(LinksUnder(ProgramsFolder()).size(), 7u);
    EXPECT_EQ(LinksUnder(DesktopFolder()).size(), 1u);
    ExpectSettings({{L"Idioma", L"0"}, {L"Aplicacio", L"0"}, {L"Directori", L"F:\\VekPro"},
                    {L"Plataforma", L"1"}, {L"Icona0", L"1"}});
    Export(L"worked-example");
}

TEST_F(CreateCommandTest, SixteenBitVariant) {
    RunningProgram program;
    Choose(program, ControlId::Platform0, false);
    EXPECT_EQ(CreateAndReadReport(program), L"ZORIZA|Creats accessos al servidor F:\\VekPro\\");
    ExpectLinks({
        {std::wstring(L"VekPro\\") + kEdition + L".lnk", L"F:\\VekPro\\VEKPRO.BAT", L"F:\\VekPro\\IMATGES\\RUVO.ICO", L"", 3},
        {L"VekPro\\Reordenar fitxers.lnk", L"F:\\VekPro\\VEKPRO.BAT", L"F:\\VekPro\\IMATGES\\ZEMBRADO.ICO", L"BIN16/ZEMBRADO.EXE", 3},
    });
    EXPECT_EQ(LinksUnder(ProgramsFolder()).size(), 7u);
    EXPECT_TRUE(LinksUnder(DesktopFolder()).empty());
    ExpectSettings({{L"Plataforma", L"0"}, {L"Icona0", L"0"}});
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
        bool errorIcon = false;
        EXPECT_EQ(CreateAndReadReport(program, &errorIcon),
                  std::wstring(L"NO S'HA TROBAT|") + kEdition + L"\r\n\r\nF:\\VekPro\\VEKBIN.BAT")
            << c.description;
        EXPECT_TRUE(errorIcon) << c.description;
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
    ExpectSettings({{L"Directori", L"F:\\"}});
}

TEST_F(CreateCommandTest, AFileInTheWayIsReportedAndTheWindowStaysUsable) {
    WriteFile(ProgramsFolder() + L"\\VekPro");
    RunningProgram program;
    Choose(program, ControlId::Platform1, true);
    bool errorIcon = false;
    const std::wstring report = CreateAndReadReport(program, &errorIcon);
    EXPECT_EQ(report.rfind(L"ZORIZA|", 0), 0u) << report;
    EXPECT_NE(report.find(std::wstring(L"Programs\\VekPro\\") + kEdition + L".lnk"), std::wstring::npos) << report;
    EXPECT_NE(report.find(L"Error 75"), std::wstring::npos) << report;
    EXPECT_TRUE(errorIcon);
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
