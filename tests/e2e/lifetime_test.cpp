// The program's life: it opens its one window with the focus in the language
// list, and Esc from any control or closing the window ends it with nothing
// saved and no shortcut written.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_support.h"

namespace zoriza::e2e {
namespace {

class LifetimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        programsBefore_ = LinksUnder(ProgramsFolder());
        desktopBefore_ = LinksUnder(DesktopFolder());
    }
    void ExpectNothingWritten() {
        EXPECT_FALSE(SettingsKeyExists());
        EXPECT_EQ(LinksUnder(ProgramsFolder()), programsBefore_);
        EXPECT_EQ(LinksUnder(DesktopFolder()), desktopBefore_);
    }
    std::vector<std::wstring> programsBefore_;
    std::vector<std::wstring> desktopBefore_;
    ComScope com;
};

TEST_F(LifetimeTest, OpensWithTheFocusInTheLanguageList) {
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    EXPECT_EQ(program.Caption(), L"ZORIZA Connexió client a servidor d'aplicacions VEK");
    EXPECT_TRUE(program.WaitUntil([&] { return program.Focus() == program.Control(ControlId::Lang); }));
    for (const ControlDesign& design : kControlDesigns) {
        EXPECT_NE(program.Control(design.id), nullptr) << design.name;
    }
    EXPECT_EQ(program.Text(ControlId::Intro), L"CREAR");
    EXPECT_EQ(program.ListCount(ControlId::App), 4);
}

TEST_F(LifetimeTest, EscapeInAnyControlEndsTheProgram) {
    for (const ControlId id : {ControlId::Lang, ControlId::App, ControlId::Search, ControlId::Drive1,
                               ControlId::Dir1, ControlId::Intro, ControlId::Icona, ControlId::Platform2}) {
        RunningProgram program;
        ASSERT_NE(program.Window(), nullptr);
        program.PressKey(id, VK_ESCAPE);
        EXPECT_TRUE(program.WaitForExit()) << DesignOf(id).name;
        EXPECT_EQ(program.ExitCode(), 0u);
    }
    ExpectNothingWritten();
}

TEST_F(LifetimeTest, ClosingTheWindowEndsTheProgram) {
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    program.SelectListEntry(ControlId::Lang, 3);
    program.CloseWindow();
    EXPECT_TRUE(program.WaitForExit());
    EXPECT_EQ(program.ExitCode(), 0u);
    ExpectNothingWritten();
}

TEST_F(LifetimeTest, OtherKeysReachTheFocusedControl) {
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    program.PressKey(ControlId::Lang, VK_DOWN);
    EXPECT_TRUE(program.WaitUntil([&] { return program.ListIndex(ControlId::Lang) == 1; }));
    EXPECT_TRUE(program.WaitUntil([&] { return program.Text(ControlId::Frame3) == L"Iconos adicionais"; }));
    PostMessageW(program.Control(ControlId::App), WM_CHAR, L'v', 1);  // next entry beginning with "v"
    EXPECT_TRUE(program.WaitUntil([&] { return program.ListIndex(ControlId::App) == 1; }));
}

}  // namespace
}  // namespace zoriza::e2e
