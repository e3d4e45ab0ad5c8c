#include <gtest/gtest.h>

#include "form_fixture.h"

namespace zoriza::testing {
namespace {

constexpr wchar_t kKey[] = L"Software\\Ruvo Software\\ZorIza";

TEST(FormLoad, FirstRunFollowsTheLocaleAndKeepsTheDesignTimeLists) {
    const std::pair<std::uint16_t, std::int16_t> cases[] = {
        {0x0456, 1}, {0x0482, 2}, {0x0C0A, 3}, {0x080A, 3}, {0x0416, 1}, {0x0403, 0}, {0x0409, 0}};
    for (const auto& [languageId, langIndex] : cases) {
        FormFixture f;
        f.languageIds.Set(languageId);
        f.form.Form_Load();
        EXPECT_EQ(f.Lang.ListIndex(), langIndex) << std::hex << languageId;
        EXPECT_EQ(f.App.ListIndex(), 0);
        EXPECT_EQ(f.Dir1.Path(), kStartFolder);
        EXPECT_EQ(f.Drive1.Drive(), L"c: [System]");
        EXPECT_EQ(f.Icona.Value(), 0);
        EXPECT_TRUE(f.window.Messages().empty());
        EXPECT_TRUE(f.registry.WrittenNames().empty());
    }
}

TEST(FormLoad, PlatformOptionsFollowTheEnvironment) {
    struct Case {
        const wchar_t* programFilesX86;
        const wchar_t* programFiles;
        std::array<bool, 3> enabled;
        std::int16_t selected;
    };
    const Case cases[] = {
        {L"C:\\Program Files (x86)", L"C:\\Program Files", {false, true, true}, 2},
        {L"C:\\Program Files (x86)", L"", {false, true, true}, 2},
        {L"", L"C:\\Program Files", {true, true, false}, 1},
        {L"", L"", {true, false, false}, 0},
    };
    for (const Case& c : cases) {
        FormFixture f;
        f.environment.Set(L"ProgramFiles(x86)", c.programFilesX86);
        f.environment.Set(L"ProgramFiles", c.programFiles);
        f.form.Form_Load();
        for (std::int16_t i = 0; i < 3; ++i) {
            EXPECT_EQ(f.Platform.Enabled(i), c.enabled[static_cast<std::size_t>(i)]) << c.programFilesX86 << i;
            EXPECT_EQ(f.Platform.Value(i), i == c.selected) << c.programFilesX86 << i;
        }
    }
}

TEST(FormLoad, RestoresAllFiveSavedChoices) {
    FormFixture f;
    f.files.AddFolder(L"F:\\VekPro\\Dades");
    f.registry.PutText(kKey, L"Idioma", L"3");
    f.registry.PutText(kKey, L"Aplicacio", L"2");
    f.registry.PutText(kKey, L"Directori", L"F:\\VekPro\\Dades");
    f.registry.PutText(kKey, L"Plataforma", L"0");
    f.registry.PutText(kKey, L"Icona0", L"2");
    f.environment.Set(L"ProgramFiles(x86)", L"C:\\Program Files (x86)");
    f.form.Form_Load();
    EXPECT_EQ(f.Lang.ListIndex(), 3);
    EXPECT_EQ(CurrentLanguage, L"SPA");
    EXPECT_EQ(f.window.Caption(), L"ZORIZA Conexión cliente a servidor de aplicaciones VEK");
    EXPECT_EQ(f.App.ListIndex(), 2);
    EXPECT_EQ(f.Drive1.Drive().substr(0, 2), L"f:");
    EXPECT_EQ(f.Dir1.Path(), L"F:\\VekPro\\Dades");
    EXPECT_TRUE(f.Platform.Value(0));  // selected although disabled
    EXPECT_FALSE(f.Platform.Enabled(0));
    EXPECT_FALSE(f.Platform.Value(2));
    EXPECT_EQ(f.Icona.Value(), 2);
    EXPECT_TRUE(f.window.Messages().empty());
    EXPECT_TRUE(f.registry.WrittenNames().empty());
    EXPECT_EQ(f.registry.OpenHandles(), 0u);
}

TEST(FormLoad, SavedNumbersAreReadLikeAnyNumberText) {
    const std::pair<const wchar_t*, std::int16_t> cases[] = {{L"abc", 0}, {L" 2", 2}, {L"2.5", 2}, {L"1x", 1}};
    for (const auto& [text, index] : cases) {
        FormFixture f;
        f.registry.PutText(kKey, L"Aplicacio", text);
        f.form.Form_Load();
        EXPECT_EQ(f.App.ListIndex(), index) << text;
    }
}

TEST(FormLoad, ADriveRootLeavesBothListsOnThatRoot) {
    FormFixture f;
    f.registry.PutText(kKey, L"Directori", L"G:\\");
    f.form.Form_Load();
    EXPECT_EQ(f.Drive1.Drive(), L"g:");
    EXPECT_EQ(f.Dir1.Path(), L"G:\\");
}

// A rejected value is passed over: its control keeps what the earlier steps
// gave it, the later settings are still restored and nothing is reported.
TEST(FormLoad, ARejectedSavedValueIsPassedOverAndTheRestRestored) {
    struct Case {
        const wchar_t* name;
        const wchar_t* text;
    };
    const Case cases[] = {
        {L"Idioma", L"4"},         {L"Idioma", L"-1"},          {L"Idioma", L"32768"},
        {L"Aplicacio", L"3.5"},    {L"Aplicacio", L"-32769"},   {L"Directori", L"H:\\VekPro"},
        {L"Directori", L"G:\\Gone"}, {L"Directori", L"\\\\server\\share"}, {L"Directori", L"N:\\VekPro"},
        {L"Plataforma", L"3"},     {L"Plataforma", L"32768"},   {L"Icona0", L"3"},
        {L"Icona0", L"-1"},
    };
    for (const Case& c : cases) {
        FormFixture f;
        f.files.AddDrive(L"N:");
        f.files.SetDriveReady(L"N:", false);
        f.files.AddFolder(L"F:\\VekPro");
        const std::pair<const wchar_t*, const wchar_t*> valid[] = {
            {L"Idioma", L"1"}, {L"Aplicacio", L"3"}, {L"Directori", L"F:\\VekPro"},
            {L"Plataforma", L"1"}, {L"Icona0", L"1"}};
        for (const auto& [name, text] : valid) f.registry.PutText(kKey, name, text);
        f.registry.PutText(kKey, c.name, c.text);

        f.form.Form_Load();

        const std::wstring name = c.name;
        EXPECT_EQ(f.Lang.ListIndex(), name == L"Idioma" ? 0 : 1) << name << c.text;
        EXPECT_EQ(f.App.ListIndex(), name == L"Aplicacio" ? 0 : 3) << name << c.text;
        EXPECT_EQ(f.Dir1.Path(), name == L"Directori" ? kStartFolder : L"F:\\VekPro") << name << c.text;
        EXPECT_EQ(f.Drive1.Drive().substr(0, 2), name == L"Directori" ? L"c:" : L"f:") << name << c.text;
        EXPECT_TRUE(f.Platform.Value(name == L"Plataforma" ? 0 : 1)) << name << c.text;
        EXPECT_EQ(f.Icona.Value(), name == L"Icona0" ? 0 : 1) << name << c.text;
        EXPECT_TRUE(f.window.Messages().empty()) << name << c.text;
        EXPECT_EQ(f.Saved(c.name), c.text);
        EXPECT_TRUE(f.registry.WrittenNames().empty());
    }
}

}  // namespace
}  // namespace zoriza::testing
