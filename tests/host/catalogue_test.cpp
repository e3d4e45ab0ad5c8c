#include <gtest/gtest.h>

#include <set>

#include "localisation/catalogue.h"

namespace zoriza {
namespace {

class CatalogueTest : public ::testing::Test {
protected:
    void TearDown() override { CurrentLanguage.clear(); }
};

TEST_F(CatalogueTest, EveryKeyTranslatesIntoEachLanguageColumn) {
    struct Column {
        const wchar_t* code;
        const wchar_t* CatalogueRow::*text;
    };
    const Column columns[] = {{kSpanish, &CatalogueRow::spanish},
                              {kGalician, &CatalogueRow::galician},
                              {kAranese, &CatalogueRow::aranese},
                              {kCatalan, &CatalogueRow::catalan}};
    for (const Column& column : columns) {
        CurrentLanguage = column.code;
        for (const CatalogueRow& row : kCatalogue) {
            EXPECT_EQ(Translate(row.catalan), row.*column.text) << column.code << " " << row.catalan;
        }
    }
}

TEST_F(CatalogueTest, TranslateIntoNamesItsLanguageWhateverIsCurrent) {
    CurrentLanguage = kSpanish;
    for (const CatalogueRow& row : kCatalogue) {
        EXPECT_EQ(TranslateInto(kGalician, row.catalan), row.galician) << row.catalan;
        EXPECT_EQ(TranslateInto(kAranese, row.catalan), row.aranese) << row.catalan;
        EXPECT_EQ(TranslateInto(kCatalan, row.catalan), row.catalan) << row.catalan;
        EXPECT_EQ(TranslateInto(L"glg", row.catalan), row.catalan) << row.catalan;
    }
    EXPECT_EQ(CurrentLanguage, kSpanish);
}

TEST_F(CatalogueTest, RowsQuotedByTheWindowAndTheCommandsAreExact) {
    struct Case {
        const wchar_t* language;
        const wchar_t* key;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {kSpanish, L"ZORIZA Connexió client a servidor d'aplicacions VEK",
         L"ZORIZA Conexión cliente a servidor de aplicaciones VEK"},
        {kGalician, L"ZORIZA Connexió client a servidor d'aplicacions VEK",
         L"ZORIZA Conexom cliente a servidor de aplicaçons VEK"},
        {kAranese, L"ZORIZA Connexió client a servidor d'aplicacions VEK",
         L"ZORIZA Connexion client a servidor d'aplicacions VEK"},
        {kSpanish, L"Icones addicionals", L"Iconos adicionales"},
        {kGalician, L"Accés escriptori", L"Acesso escritório"},
        {kAranese, L"Accés escriptori", L"Accès escriptòri"},
        {kSpanish, L"Calendari", L"Calendario"},
        {kGalician, L"Calendari", L"Calendário"},
        {kAranese, L"Calendari", L"Calendari"},
        {kGalician, L"NO S'HA TROBAT", L"NOM SE ATOPOU"},
        {kAranese, L"Creats accessos al servidor ", L"Creadi accèssi ath servidor "},
        {kSpanish, L"Servei d'actualitzacions", L"Servicio de actualizaciones"},
    };
    for (const Case& c : cases) {
        CurrentLanguage = c.language;
        EXPECT_EQ(Translate(c.key), c.expected) << c.language << " " << c.key;
    }
}

TEST_F(CatalogueTest, AnythingButTheThreeExactCodesLeavesTheSourceUnchanged) {
    for (const wchar_t* language : {L"", L"CAT", L"spa", L"SPA ", L" GLG", L"Oci", L"XYZ"}) {
        CurrentLanguage = language;
        for (const CatalogueRow& row : kCatalogue) {
            EXPECT_EQ(Translate(row.catalan), row.catalan) << "language '" << language << "'";
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

TEST_F(CatalogueTest, KeysAreDistinctAndEditionCaptionsUsableAsFileNames) {
    std::set<std::wstring> keys;
    for (const CatalogueRow& row : kCatalogue) keys.insert(row.catalan);
    EXPECT_EQ(keys.size(), kCatalogue.size());
    for (std::size_t i = 0; i < kEditionCaptions.size(); ++i) {
        const CatalogueRow& row = kCatalogue[i + 1];
        EXPECT_EQ(std::wstring(row.catalan), kEditionCaptions[i]);
        for (const wchar_t* text : {row.catalan, row.spanish, row.galician, row.aranese}) {
            EXPECT_EQ(std::wstring(text).find_first_of(L"\\/:*?\"<>|"), std::wstring::npos) << text;
        }
    }
    std::set<std::wstring> editionTexts;
    for (std::size_t i = 1; i <= 4; ++i) editionTexts.insert(kCatalogue[i].spanish);
    EXPECT_EQ(editionTexts.size(), 4u);
}

}  // namespace
}  // namespace zoriza
