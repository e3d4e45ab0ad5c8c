#include <gtest/gtest.h>

#include "form_fixture.h"

namespace zoriza::testing {
namespace {

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

WindowTexts ExpectedTexts(const wchar_t* const CatalogueRow::*column) {
    WindowTexts texts{kCatalogue[0].*column, kCatalogue[5].*column, kCatalogue[6].*column,
                      kCatalogue[7].*column, kCatalogue[8].*column, kCatalogue[9].*column, {}};
    for (std::size_t row = 1; row <= 4; ++row) texts.editions.push_back(kCatalogue[row].*column);
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
    struct Case {
        std::int16_t index;
        const wchar_t* code;
        const wchar_t* const CatalogueRow::*column;
    };
    const Case cases[] = {{3, L"SPA", &CatalogueRow::spanish},
                          {1, L"GLG", &CatalogueRow::galician},
                          {2, L"OCI", &CatalogueRow::aranese},
                          {0, L"CAT", &CatalogueRow::catalan}};
    FormFixture f;
    for (const Case& c : cases) {
        f.Lang.Click(c.index);
        EXPECT_EQ(CurrentLanguage, c.code);
        ExpectTexts(TextsOf(f), ExpectedTexts(c.column));
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
    ExpectTexts(TextsOf(f), ExpectedTexts(&CatalogueRow::catalan));
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
