#include <gtest/gtest.h>

#include "form_fixture.h"
#include "tests/shared/translations.h"

namespace zoriza::testing {
namespace {

using namespace zoriza::expected;

struct WindowTexts {
    std::wstring caption, frame1, search, frame2, frame3, icona;
    std::vector<std::wstring> editions;
};

WindowTexts TextsOf(const FormFixture& f) {
    WindowTexts texts{f.window.Caption(), f.Frame1.Caption(), f.Search.Caption(), f.Frame2.Caption(),
                      f.Frame3.Caption(), f.Icona.Caption(), {}};
    for (std::int16_t i = 0; i < f.App.ListCount(); ++i) texts.editions.push_back(f.App.List(i));
    return texts;
}

WindowTexts ExpectedTexts(std::size_t language) {
    WindowTexts texts{kWindowCaptionText.in[language], kServerFrameText.in[language], kScanButtonText.in[language],
                      kPlatformFrameText.in[language], kIconsFrameText.in[language], kDesktopBoxText.in[language],
                      {}};
    for (const TranslatedText& edition : kEditionTexts) texts.editions.push_back(edition.in[language]);
    return texts;
}

void ExpectTexts(const WindowTexts& actual, const WindowTexts& expected) {
    EXPECT_EQ(actual.caption, expected.caption);
    EXPECT_EQ(actual.frame1, expected.frame1);
    EXPECT_EQ(actual.search, expected.search);
    EXPECT_EQ(actual.frame2, expected.frame2);
    EXPECT_EQ(actual.frame3, expected.frame3);
    EXPECT_EQ(actual.icona, expected.icona);
    EXPECT_EQ(actual.editions, expected.editions);
}

TEST(LangClick, EachEntryStoresItsCodeAndCaptionsTheTenTexts) {
    FormFixture f;
    for (const std::int16_t index : {3, 1, 2, 0}) {
        f.Lang.Click(index);
        const auto language = static_cast<std::size_t>(index);
        EXPECT_EQ(CurrentLanguage, kExpectedLanguageCodes[language]);
        ExpectTexts(TextsOf(f), ExpectedTexts(language));
        EXPECT_EQ(f.Intro.Caption(), L"CREAR");
        EXPECT_EQ(f.Lang.List(2), L"Aranés");
    }
}

TEST(LangClick, NothingSelectedMeansCatalan) {
    FormFixture f;
    f.Lang.Click(3);
    f.Lang.ClearSelection();
    f.form.Lang_Click();
    EXPECT_EQ(CurrentLanguage, L"CAT");
    ExpectTexts(TextsOf(f), ExpectedTexts(kCatala));
}

TEST(LangClick, ChangesNothingElseInTheWindow) {
    FormFixture f;
    f.files.AddFolder(L"F:\\VekPro");
    f.App.SetListIndex(2);
    f.Platform.Select(1);
    f.Icona.SetValue(1);
    f.Drive1.SetDrive(L"f:");
    f.Dir1.SetPath(L"F:\\VekPro");
    for (std::int16_t language : {1, 3, 2, 0, 3}) f.Lang.Click(language);
    EXPECT_EQ(f.App.ListIndex(), 2);
    EXPECT_EQ(f.App.ListCount(), 4);
    EXPECT_EQ(f.App.Text(), L"VekCom Comercial");
    EXPECT_TRUE(f.Platform.Value(1));
    EXPECT_EQ(f.Icona.Value(), 1);
    EXPECT_EQ(f.Drive1.Drive(), L"f: [\\\\server\\apps]");
    EXPECT_EQ(f.Dir1.Path(), L"F:\\VekPro");
    EXPECT_TRUE(f.registry.WrittenNames().empty());
}

}  // namespace
}  // namespace zoriza::testing
