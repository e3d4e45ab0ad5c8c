#include <gtest/gtest.h>

#include "form_fixture.h"
#include "tests/shared/translations.h"
#include "tests/shared/worked_example.h"

namespace zoriza::testing {
namespace {

using namespace zoriza::expected;

std::wstring Programs(const std::wstring& name) { return std::wstring(kProgramsFolder) + L"\\" + name + L".lnk"; }
std::wstring Desktop(const std::wstring& name) { return std::wstring(kDesktopFolder) + L"\\" + name + L".lnk"; }

std::wstring PathOf(const ExpectedShortcut& shortcut) {
    return shortcut.folder == LinkFolder::Desktop ? Desktop(shortcut.name) : Programs(shortcut.name);
}

// Catalan, edition 0, 32 bit, the folder list at F:\VekPro, desktop icon checked.
class CreateCommandTest : public ::testing::Test {
protected:
    CreateCommandTest() {
        f.files.AddFolder(L"F:\\VekPro");
        f.Lang.SetListIndex(0);
        f.App.SetListIndex(0);
        f.Platform.Select(1);
        f.Icona.SetValue(1);
        f.Drive1.SetDrive(L"f:");
        f.Dir1.SetPath(L"F:\\VekPro");
    }

    // Every shortcut with all its fields, in the order written.
    void ExpectShortcuts(const auto& expected) {
        std::vector<std::wstring> order;
        for (const ExpectedShortcut& e : expected) {
            const std::wstring file = PathOf(e);
            order.push_back(file);
            ASSERT_EQ(f.shell.Saved().count(file), 1u) << file;
            const SavedShortcut& saved = f.shell.Saved().at(file);
            EXPECT_EQ(saved.targetPath, e.target) << file;
            EXPECT_EQ(saved.iconLocation, e.icon) << file;
            EXPECT_EQ(saved.arguments, e.arguments) << file;
            EXPECT_EQ(saved.windowStyle, e.showCommand) << file;
            EXPECT_EQ(saved.workingDirectory, e.workingFolder) << file;
            EXPECT_EQ(saved.description, L"") << file;
            EXPECT_EQ(saved.appUserModelId, e.appUserModelId) << file;
        }
        EXPECT_EQ(f.shell.SavedInOrder(), order);
    }

    FormFixture f;
};

TEST_F(CreateCommandTest, WorkedExample) {
    f.form.Intro_Click();
    ExpectShortcuts(kWorkedExampleShortcuts);
    for (const ExpectedSetting& setting : kWorkedExampleSettings) EXPECT_EQ(f.Saved(setting.name), setting.text);
    std::vector<std::wstring> savedInOrder;
    for (const ExpectedSetting& setting : kWorkedExampleSettings) savedInOrder.push_back(setting.name);
    EXPECT_EQ(f.registry.WrittenNames(), savedInOrder);
    ASSERT_EQ(f.window.Messages().size(), 1u);
    EXPECT_EQ(f.window.Messages()[0].text, kWorkedExampleReport);
    EXPECT_EQ(f.window.Messages()[0].title, L"");
    EXPECT_EQ(f.window.Messages()[0].icon, MessageIcon::None);
    EXPECT_EQ(MaximizeWindow, kFalse);
    EXPECT_FALSE(f.window.Busy());
}

TEST_F(CreateCommandTest, SixteenBitVariant) {
    f.files.AddFile(L"F:\\VekPro\\VEKPRO.BAT");
    f.Platform.Select(0);
    f.Icona.SetValue(0);
    f.form.Intro_Click();
    EXPECT_EQ(f.shell.Saved().size(), 7u);
    const SavedShortcut& reorder = f.shell.Saved().at(Programs(L"VekPro\\Reordenar fitxers"));
    EXPECT_EQ(reorder.targetPath, L"F:\\VekPro\\VEKPRO.BAT");
    EXPECT_EQ(reorder.arguments, L"BIN16/ZEMBRADO.EXE");
    EXPECT_EQ(f.Saved(L"Plataforma"), L"0");
    EXPECT_EQ(f.Saved(L"Icona0"), L"0");
}

TEST_F(CreateCommandTest, EveryEditionPlatformIconAndLanguage) {
    const std::int16_t styles[] = {1, 1, 1, 1, 3, 1};
    const wchar_t* const kIdNames[] = {L"Aplicacio",        L"Calculadora",      L"Calendari",
                                       L"GestioBloquejos",  L"GestioDocumental", L"ReordenarFitxers",
                                       L"ServeiActualitzacions"};
    for (std::int16_t edition = 0; edition < 4; ++edition) {
        for (std::int16_t platform = 0; platform < 3; ++platform) {
            for (std::int16_t icon = 0; icon < 3; ++icon) {
                for (std::int16_t language = 0; language < 4; ++language) {
                    FormFixture g;
                    const std::wstring code = std::wstring(L"VekPro\0VekFin\0VekCom\0VekNom", 27).substr(edition * 7, 6);
                    const std::wstring batch = platform == 0 ? AsciiUpper(code) + L".BAT" : L"VEKBIN.BAT";
                    g.files.AddFile(L"F:\\" + code + L"\\" + batch);
                    g.Lang.SetListIndex(language);
                    g.App.SetListIndex(edition);
                    g.Platform.Select(platform);
                    g.Icona.SetValue(icon);
                    g.Drive1.SetDrive(L"f:");
                    g.Dir1.SetPath(L"F:\\" + code);
                    g.form.Intro_Click();

                    const std::vector<std::wstring> files = g.shell.SavedInOrder();
                    ASSERT_EQ(files.size(), icon == 0 ? 7u : 8u);
                    const std::size_t first = icon == 0 ? 0 : 1;
                    const std::wstring folder = std::wstring(kProgramsFolder) + L"\\" + code + L"\\";
                    EXPECT_EQ(files[first], folder + kEditionTexts[edition].in[language] + L".lnk");
                    for (std::size_t tool = 0; tool < 6; ++tool) {
                        EXPECT_EQ(files[first + 1 + tool], folder + kToolNameTexts[tool].in[language] + L".lnk");
                    }
                    for (std::size_t i = 0; i < 7; ++i) {
                        const SavedShortcut& saved = g.shell.Saved().at(files[first + i]);
                        EXPECT_EQ(saved.windowStyle, i == 0 ? 3 : styles[i - 1]);
                        // One of its own for each shortcut, whatever the language and platform.
                        EXPECT_EQ(saved.appUserModelId, L"RuvoSoftware." + code + L"." + kIdNames[i]);
                    }
                    EXPECT_EQ(g.shell.Saved().at(files[first + 5]).arguments,
                              std::wstring(platform == 0 ? L"BIN16" : L"BIN") + L"/ZEMBRADO.EXE");
                    EXPECT_EQ(g.Saved(L"Idioma"), std::to_wstring(language));
                    EXPECT_EQ(g.Saved(L"Aplicacio"), std::to_wstring(edition));
                    EXPECT_EQ(g.Saved(L"Plataforma"), std::to_wstring(platform));
                    EXPECT_EQ(g.Saved(L"Icona0"), std::to_wstring(icon));
                    EXPECT_EQ(g.window.Messages().back().text,
                              kReportText.in[language] + std::wstring(L"F:\\") + code + L"\\");
                }
            }
        }
    }
}

TEST_F(CreateCommandTest, AMissingLauncherIsReportedAndNothingIsWritten) {
    struct Case {
        const wchar_t* description;
        std::function<void(MemoryFileSystem&)> arrange;
    };
    const Case cases[] = {
        {L"missing", [](MemoryFileSystem& files) { files.Remove(L"F:\\VekPro\\VEKBIN.BAT"); }},
        {L"hidden", [](MemoryFileSystem& files) { files.AddFile(L"F:\\VekPro\\VEKBIN.BAT", {true, false}); }},
        {L"system", [](MemoryFileSystem& files) { files.AddFile(L"F:\\VekPro\\VEKBIN.BAT", {false, true}); }},
        {L"folder", [](MemoryFileSystem& files) {
             files.Remove(L"F:\\VekPro\\VEKBIN.BAT");
             files.AddFolder(L"F:\\VekPro\\VEKBIN.BAT");
         }},
    };
    for (const Case& c : cases) {
        FormFixture g;
        g.files.AddFolder(L"F:\\VekPro");
        c.arrange(g.files);
        g.App.SetListIndex(0);
        g.Platform.Select(2);
        g.Drive1.SetDrive(L"f:");
        g.Dir1.SetPath(L"F:\\VekPro");
        MaximizeWindow = kTrue;
        g.form.Intro_Click();
        ASSERT_EQ(g.window.Messages().size(), 1u) << c.description;
        EXPECT_EQ(g.window.Messages()[0].title, L"NO S'HA TROBAT");
        EXPECT_EQ(g.window.Messages()[0].icon, MessageIcon::Error);
        EXPECT_EQ(g.window.Messages()[0].text, L"VekPro Professional\r\n\r\nF:\\VekPro\\VEKBIN.BAT");
        EXPECT_TRUE(g.shell.Saved().empty());
        EXPECT_TRUE(g.registry.WrittenNames().empty());
        EXPECT_EQ(MaximizeWindow, kTrue);
    }
    MaximizeWindow = kFalse;
}

TEST_F(CreateCommandTest, AtADriveRootTheTestedPathHasTwoBackslashes) {
    f.files.AddFile(L"F:\\VEKBIN.BAT");
    f.Dir1.SetPath(L"F:\\");
    f.files.Remove(L"F:\\VEKBIN.BAT");
    f.form.Intro_Click();
    ASSERT_EQ(f.window.Messages().size(), 1u);
    EXPECT_EQ(f.window.Messages()[0].text, L"VekPro Professional\r\n\r\nF:\\\\VEKBIN.BAT");

    f.files.AddFile(L"F:\\VEKBIN.BAT");
    f.form.Intro_Click();
    EXPECT_EQ(f.shell.Saved().at(Programs(L"VekPro\\Calculadora")).targetPath, L"F:\\VEKCALC.EXE");
    EXPECT_EQ(f.Saved(L"Directori"), L"F:\\");
}

TEST_F(CreateCommandTest, NoEditionSelectedStillFollowsTheRules) {
    f.App.ClearSelection();
    f.Icona.SetValue(0);
    f.files.AddFile(L"F:\\VekPro\\VEKBIN.BAT");
    f.form.Intro_Click();
    EXPECT_EQ(f.shell.Saved().count(Programs(L"\\Calculadora")), 1u);
    EXPECT_EQ(f.shell.Saved().count(Programs(L"\\")), 1u);
    EXPECT_EQ(f.Saved(L"Aplicacio"), L"-1");
}

TEST_F(CreateCommandTest, NoPlatformSelectedLeavesTheStoredPlatformAlone) {
    f.registry.PutText(L"Software\\Ruvo Software\\ZorIza", L"Plataforma", L"2");
    f.Platform.ClearAll();
    f.form.Intro_Click();
    EXPECT_EQ(f.Saved(L"Plataforma"), L"2");
    EXPECT_EQ(f.registry.WrittenNames().size(), 4u);
}

TEST_F(CreateCommandTest, ASwitchedLanguageAddsNamesBesideTheOldOnes) {
    f.form.Intro_Click();
    f.Lang.SetListIndex(3);
    f.form.Intro_Click();
    EXPECT_EQ(f.shell.Saved().count(Programs(L"VekPro\\Calendari")), 1u);
    EXPECT_EQ(f.shell.Saved().count(Programs(L"VekPro\\Calendario")), 1u);
    EXPECT_EQ(f.shell.Saved().count(Programs(L"VekPro\\VekPro Profesional")), 1u);
    EXPECT_EQ(f.shell.Saved().size(), 8u + 7u);  // "Calculadora" is the same in both
    EXPECT_EQ(f.files.FoldersMade(), 1);
}

TEST_F(CreateCommandTest, AFailureKeepsEarlierShortcutsWritesNoMoreAndReportsTheShortcut) {
    f.shell.FailSaving(Programs(L"VekPro\\Gestió de bloquejos"));
    EXPECT_FALSE(f.form.Dispatch(FormEvent::IntroClick));
    EXPECT_EQ(f.shell.SavedInOrder().size(), 4u);
    EXPECT_EQ(f.shell.Saved().count(Programs(L"VekPro\\Gestió documental")), 0u);
    EXPECT_TRUE(f.registry.WrittenNames().empty());
    EXPECT_TRUE(f.ShowedOnlyTheErrorReport(
        L"Programs\\VekPro\\Gestió de bloquejos.lnk\r\n\r\nError -2147024891: Access denied."));
}

TEST_F(CreateCommandTest, AFileInTheWayOfTheSubfolderIsReported) {
    f.files.AddFile(std::wstring(kProgramsFolder) + L"\\VekPro");
    EXPECT_FALSE(f.form.Dispatch(FormEvent::IntroClick));
    EXPECT_EQ(f.shell.SavedInOrder().size(), 1u);  // the desktop shortcut came first
    EXPECT_TRUE(f.registry.WrittenNames().empty());
    EXPECT_TRUE(f.ShowedOnlyTheErrorReport(
        L"Programs\\VekPro\\VekPro Professional.lnk\r\n\r\nError 75: Path/File access error"));
}

// The launcher's path fits, but the fourth shortcut's icon would not
// (259 characters at most): the command refuses before writing anything.
TEST_F(CreateCommandTest, APathBeyondTheWindowsLimitIsRefusedBeforeAnythingIsWritten) {
    const std::wstring folder = L"F:\\" + std::wstring(237, L'v');  // 240 characters
    f.files.AddFile(folder + L"\\VEKBIN.BAT");
    f.Dir1.SetPath(folder);
    EXPECT_FALSE(f.form.Dispatch(FormEvent::IntroClick));
    EXPECT_TRUE(f.shell.Saved().empty());
    EXPECT_EQ(f.files.FoldersMade(), 0);
    EXPECT_TRUE(f.registry.WrittenNames().empty());
    EXPECT_TRUE(f.ShowedOnlyTheErrorReport(L"Programs\\VekPro\\Calculadora.lnk\r\n\r\nError 52: The path is "
                                           L"longer than Windows allows: " + folder + L"\\IMATGES\\VEKCALC.ICO"));
}

TEST_F(CreateCommandTest, FailedSettingWritesAreNotReported) {
    f.registry.FailWrites(true);
    f.form.Intro_Click();
    ASSERT_EQ(f.window.Messages().size(), 1u);
    EXPECT_EQ(f.window.Messages()[0].text, L"Creats accessos al servidor F:\\VekPro\\");
}

}  // namespace
}  // namespace zoriza::testing
