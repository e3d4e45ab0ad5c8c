// The language switch on the real window: by keyboard and by a user's
// selection, exactly the ten translated texts change, and the create command
// names the shortcuts in the language chosen last.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_support.h"

namespace zoriza::e2e {
namespace {

struct Texts {
    std::wstring caption, frame1, search, frame2, frame3, icona;
    std::vector<std::wstring> editions;
    bool operator==(const Texts&) const = default;
};

Texts TextsOf(const RunningProgram& program) {
    Texts texts{program.Caption(), program.Text(ControlId::Frame1), program.Text(ControlId::Search),
                program.Text(ControlId::Frame2), program.Text(ControlId::Frame3), program.Text(ControlId::Icona), {}};
    for (int i = 0; i < program.ListCount(ControlId::App); ++i) texts.editions.push_back(program.ListText(ControlId::App, i));
    return texts;
}

// What never changes: the create button, the platform options and the language names.
std::vector<std::wstring> FixedTexts(const RunningProgram& program) {
    std::vector<std::wstring> fixed{program.Text(ControlId::Intro), program.Text(ControlId::Platform0),
                                    program.Text(ControlId::Platform1), program.Text(ControlId::Platform2)};
    for (int i = 0; i < program.ListCount(ControlId::Lang); ++i) fixed.push_back(program.ListText(ControlId::Lang, i));
    return fixed;
}

const Texts kCatalanTexts{L"ZORIZA Connexió client a servidor d'aplicacions VEK", L"Servidor", L"EXAMINAR",
                          L"Plataforma", L"Icones addicionals", L"Accés escriptori",
                          {L"VekPro Professional", L"VekFin Finances", L"VekCom Comercial", L"VekNom Nòmines"}};

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        RemoveTree(ProgramsFolder() + L"\\VekPro");
        WriteFile(L"F:\\VekPro\\VEKBIN.BAT");
    }
    void TearDown() override { ClearSettings(); }
    ComScope com;
};

TEST_F(LanguageTest, ArrowKeysSwitchTheTenTextsAndBackToCatalanExactly) {
    struct Step {
        WPARAM key;
        int index;
        const wchar_t* caption;
        const wchar_t* frame3;
        const wchar_t* icona;
    };
    const Step steps[] = {
        {VK_DOWN, 1, L"ZORIZA Conexom cliente a servidor de aplicaçons VEK", L"Iconos adicionais", L"Acesso escritório"},
        {VK_DOWN, 2, L"ZORIZA Connexion client a servidor d'aplicacions VEK", L"Icònes addicionaus", L"Accès escriptòri"},
        {VK_DOWN, 3, L"ZORIZA Conexión cliente a servidor de aplicaciones VEK", L"Iconos adicionales", L"Acceso escritorio"},
    };
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    ASSERT_EQ(TextsOf(program), kCatalanTexts);
    const std::vector<std::wstring> fixed = FixedTexts(program);
    program.SelectListEntry(ControlId::App, 2);
    for (const Step& step : steps) {
        program.PressKey(ControlId::Lang, step.key);
        ASSERT_TRUE(program.WaitUntil([&] { return program.Caption() == step.caption; })) << step.index;
        EXPECT_EQ(program.ListIndex(ControlId::Lang), step.index);
        EXPECT_EQ(program.Text(ControlId::Frame3), step.frame3);
        EXPECT_EQ(program.Text(ControlId::Icona), step.icona);
        EXPECT_EQ(program.Text(ControlId::Frame1), L"Servidor");
        EXPECT_EQ(program.Text(ControlId::Search), L"EXAMINAR");
        EXPECT_EQ(program.Text(ControlId::Frame2), L"Plataforma");
        EXPECT_EQ(FixedTexts(program), fixed);
        EXPECT_EQ(program.ListIndex(ControlId::App), 2);  // the edition stays chosen
    }
    for (int i = 0; i < 3; ++i) program.PressKey(ControlId::Lang, VK_UP);
    ASSERT_TRUE(program.WaitUntil([&] { return program.ListIndex(ControlId::Lang) == 0; }));
    EXPECT_TRUE(program.WaitUntil([&] { return TextsOf(program) == kCatalanTexts; }));
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(LanguageTest, ASelectionChangesNothingElseInTheWindow) {
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    program.Click(ControlId::Platform1);
    program.Click(ControlId::Icona);
    ASSERT_TRUE(program.WaitUntil([&] { return program.Checked(ControlId::Icona); }));
    program.SelectListEntry(ControlId::App, 3);
    const std::wstring drive = program.ListText(ControlId::Drive1, program.ListIndex(ControlId::Drive1));
    const int folderEntries = program.ListCount(ControlId::Dir1);
    for (const int language : {3, 1, 2, 0}) {
        program.SelectListEntry(ControlId::Lang, language);
        EXPECT_EQ(program.ListIndex(ControlId::App), 3);
        EXPECT_TRUE(program.Checked(ControlId::Platform1));
        EXPECT_TRUE(program.Checked(ControlId::Icona));
        EXPECT_EQ(program.ListText(ControlId::Drive1, program.ListIndex(ControlId::Drive1)), drive);
        EXPECT_EQ(program.ListCount(ControlId::Dir1), folderEntries);
    }
    EXPECT_EQ(TextsOf(program), kCatalanTexts);
}

TEST_F(LanguageTest, ACreateAfterASwitchNamesTheShortcutsInTheNewLanguage) {
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    ASSERT_TRUE(program.MoveToServerFolder(L'f', L"VekPro"));
    for (const int language : {0, 3}) {
        program.SelectListEntry(ControlId::Lang, language);
        program.Click(ControlId::Intro);
        const auto report = program.WaitForMessageBox(20s);
        ASSERT_TRUE(report.has_value());
        program.CloseMessageBox();
    }
    const std::vector<std::wstring> expected = {
        L"VekPro\\Calculadora.lnk", L"VekPro\\Calendari.lnk", L"VekPro\\Calendario.lnk",
        L"VekPro\\Gestió de bloquejos.lnk", L"VekPro\\Gestió documental.lnk", L"VekPro\\Gestión de bloqueos.lnk",
        L"VekPro\\Gestión documental.lnk", L"VekPro\\Reordenar ficheros.lnk", L"VekPro\\Reordenar fitxers.lnk",
        L"VekPro\\Servei d'actualitzacions.lnk", L"VekPro\\Servicio de actualizaciones.lnk",
        L"VekPro\\VekPro Professional.lnk", L"VekPro\\VekPro Profesional.lnk"};
    std::vector<std::wstring> sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(LinksUnder(ProgramsFolder()), sorted);
    const auto language = Stored(L"Idioma");
    ASSERT_TRUE(language.has_value());
    EXPECT_EQ(language->Text(), L"3");
}

}  // namespace
}  // namespace zoriza::e2e
