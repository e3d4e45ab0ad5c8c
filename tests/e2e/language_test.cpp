// The language switch on the real window: by keyboard and by a user's
// selection, exactly the ten translated texts change, with the names screen
// readers read, and the create command names the shortcuts in the language
// chosen last.
#include <gtest/gtest.h>

#include <set>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_support.h"
#include "tests/shared/translations.h"

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

Texts ExpectedTexts(std::size_t language) {
    using namespace expected;
    Texts texts{kWindowCaptionText.in[language], kServerFrameText.in[language], kScanButtonText.in[language],
                kPlatformFrameText.in[language], kIconsFrameText.in[language], kDesktopBoxText.in[language], {}};
    for (const TranslatedText& edition : kEditionTexts) texts.editions.push_back(edition.in[language]);
    return texts;
}

const Texts kCatalanTexts = ExpectedTexts(expected::kCatala);

constexpr ControlId kEveryControl[] = {ControlId::Intro,     ControlId::Frame3,    ControlId::Icona,
                                       ControlId::Frame2,    ControlId::Platform2, ControlId::Platform1,
                                       ControlId::Platform0, ControlId::Frame1,    ControlId::Dir1,
                                       ControlId::Drive1,    ControlId::Search,    ControlId::App,
                                       ControlId::Lang};

// What a screen reader reads for each control, in the order of kEveryControl.
std::vector<std::wstring> AccessibleNamesOf(const RunningProgram& program) {
    std::vector<std::wstring> names;
    for (const ControlId id : kEveryControl) names.push_back(program.AccessibleName(id));
    return names;
}

std::vector<std::wstring> ExpectedAccessibleNames(std::size_t language) {
    using namespace expected;
    return {L"CREAR",
            kIconsFrameText.in[language],
            kDesktopBoxText.in[language],
            kPlatformFrameText.in[language],
            L"64 bit",
            L"32 bit",
            L"16 bit",
            kServerFrameText.in[language],
            kListNameTexts[kDir1Name].in[language],
            kListNameTexts[kDrive1Name].in[language],
            kScanButtonText.in[language],
            kListNameTexts[kAppName].in[language],
            kListNameTexts[kLangName].in[language]};
}

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
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    ASSERT_EQ(TextsOf(program), kCatalanTexts);
    EXPECT_EQ(AccessibleNamesOf(program), ExpectedAccessibleNames(expected::kCatala));
    const std::vector<std::wstring> fixed = FixedTexts(program);
    program.SelectListEntry(ControlId::App, 2);
    for (const std::size_t language : {expected::kGalego, expected::kAranes, expected::kCastellano}) {
        program.PressKey(ControlId::Lang, VK_DOWN);
        const Texts wanted = ExpectedTexts(language);
        ASSERT_TRUE(program.WaitUntil([&] { return program.Caption() == wanted.caption; })) << language;
        EXPECT_EQ(program.ListIndex(ControlId::Lang), static_cast<int>(language));
        EXPECT_EQ(TextsOf(program), wanted) << language;
        // Every control's name for a screen reader follows the switch.
        EXPECT_EQ(AccessibleNamesOf(program), ExpectedAccessibleNames(language)) << language;
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
    // The names in Catalan and in Castellano side by side; a name that is the
    // same in both is one file.
    std::set<std::wstring> names;
    for (const std::size_t language : {expected::kCatala, expected::kCastellano}) {
        names.insert(std::wstring(L"VekPro\\") + expected::kEditionTexts[0].in[language] + L".lnk");
        for (const expected::TranslatedText& tool : expected::kToolNameTexts) {
            names.insert(std::wstring(L"VekPro\\") + tool.in[language] + L".lnk");
        }
    }
    EXPECT_EQ(names.size(), 13u);
    EXPECT_EQ(LinksUnder(ProgramsFolder()), std::vector<std::wstring>(names.begin(), names.end()));
    const auto language = Stored(L"Idioma");
    ASSERT_TRUE(language.has_value());
    EXPECT_EQ(language->Text(), L"3");
}

}  // namespace
}  // namespace zoriza::e2e
