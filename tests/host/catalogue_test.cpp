#include <gtest/gtest.h>

#include <set>

#include "localisation/catalogue.h"
#include "tests/shared/translations.h"

namespace zoriza {
namespace {

using namespace zoriza::expected;

class CatalogueTest : public ::testing::Test {
protected:
    void TearDown() override { CurrentLanguage.clear(); }
};

// The whole catalogue against the texts written out once, byte for byte.
TEST_F(CatalogueTest, EveryTextIsTranslatedExactlyIntoEachLanguage) {
    for (std::size_t language = 0; language < kExpectedLanguageCodes.size(); ++language) {
        CurrentLanguage = kExpectedLanguageCodes[language];
        for (const TranslatedText& text : kEveryTranslatedText) {
            EXPECT_EQ(Translate(text.Catalan()), text.in[language]) << kExpectedLanguageCodes[language] << " "
                                                                     << text.Catalan();
        }
    }
}

TEST_F(CatalogueTest, TheCatalogueHoldsExactlyTheseKeys) {
    std::set<std::wstring> expected;
    for (const TranslatedText& text : kEveryTranslatedText) expected.insert(text.Catalan());
    std::set<std::wstring> keys;
    for (const CatalogueRow& row : kCatalogue) keys.insert(row.catalan);
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(kCatalogue.size(), expected.size());
}

// TranslateInto names its language whatever the current one is.
TEST_F(CatalogueTest, TranslateIntoNamesItsLanguageWhateverIsCurrent) {
    CurrentLanguage = kSpanish;
    for (const TranslatedText& text : kEveryTranslatedText) {
        for (std::size_t language = 0; language < kExpectedLanguageCodes.size(); ++language) {
            EXPECT_EQ(TranslateInto(kExpectedLanguageCodes[language], text.Catalan()), text.in[language]) << text.Catalan();
        }
        EXPECT_EQ(TranslateInto(L"glg", text.Catalan()), text.Catalan());
    }
    EXPECT_EQ(CurrentLanguage, kSpanish);
}

TEST_F(CatalogueTest, AnythingButTheThreeExactCodesLeavesTheSourceUnchanged) {
    for (const wchar_t* language : {L"", L"CAT", L"spa", L"SPA ", L" GLG", L"Oci", L"XYZ"}) {
        CurrentLanguage = language;
        for (const TranslatedText& text : kEveryTranslatedText) {
            EXPECT_EQ(Translate(text.Catalan()), text.Catalan()) << "language '" << language << "'";
        }
    }
}

TEST_F(CatalogueTest, OnlyTheExactKeyIsTranslated) {
    CurrentLanguage = kSpanish;
    for (const wchar_t* notAKey : {L"servidor", L"No s'ha trobat", L"Acces escriptori",
                                   L"Creats accessos al servidor", L"Calendario", L"", L" Calendari"}) {
        EXPECT_EQ(Translate(notAKey), notAKey);
    }
    EXPECT_EQ(Translate(L"Creats accessos al servidor "), L"Creados accesos al servidor ");
}

TEST_F(CatalogueTest, TheLastSwitchDecides) {
    for (const wchar_t* language : {kAranese, kSpanish, kCatalan, kGalician}) CurrentLanguage = language;
    EXPECT_EQ(Translate(L"Calendari"), L"Calendário");
}

// The edition's text names its shortcuts: in every language the four differ
// and each is a valid file name.
TEST_F(CatalogueTest, EditionTextsAreTheListsCaptionsAndUsableAsFileNames) {
    for (std::size_t language = 0; language < kExpectedLanguageCodes.size(); ++language) {
        std::set<std::wstring> texts;
        for (const TranslatedText& edition : kEditionTexts) texts.insert(edition.in[language]);
        EXPECT_EQ(texts.size(), kEditionTexts.size()) << kExpectedLanguageCodes[language];
    }
    for (std::size_t i = 0; i < kEditionCaptions.size(); ++i) {
        EXPECT_EQ(std::wstring(kEditionCaptions[i]), kEditionTexts[i].Catalan());
        for (const wchar_t* text : kEditionTexts[i].in) {
            EXPECT_EQ(std::wstring(text).find_first_of(L"\\/:*?\"<>|"), std::wstring::npos) << text;
        }
    }
}

}  // namespace
}  // namespace zoriza
