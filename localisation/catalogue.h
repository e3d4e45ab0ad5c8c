// The interface languages and the message catalogue. Every visible text is
// written in Catalan and passes through Translate on its way to the screen.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace zoriza {

class LanguageIdSource;

// "CAT", "GLG", "OCI" or "SPA"; empty until the first language is selected.
// Written only by the language switch, read only by Translate.
extern std::wstring CurrentLanguage;

inline constexpr wchar_t kCatalan[] = L"CAT";
inline constexpr wchar_t kGalician[] = L"GLG";
inline constexpr wchar_t kAranese[] = L"OCI";
inline constexpr wchar_t kSpanish[] = L"SPA";

// The codes in the order of the language list: Català, Galego, Aranés, Castellano.
inline constexpr std::array<const wchar_t*, 4> kLanguageCodes = {kCatalan, kGalician, kAranese, kSpanish};

// `source` in the current language; `source` itself when it is no key or the
// language is Catalan (or anything that is not one of the three other codes).
std::wstring Translate(const std::wstring& source);

// `source` in `language` by the same rules, whatever the current language.
std::wstring TranslateInto(const std::wstring& language, const std::wstring& source);

// The language code for the user's default locale.
std::wstring DetectLanguage(const LanguageIdSource& languageIds);

// An identifier as upper-case hexadecimal without leading zeros ("C0A").
std::wstring LanguageIdText(std::uint16_t languageId);

// The Catalan captions of the four application editions, in list order.
inline constexpr std::array<const wchar_t*, 4> kEditionCaptions = {
    L"VekPro Professional",
    L"VekFin Finances",
    L"VekCom Comercial",
    L"VekNom Nòmines",
};

struct CatalogueRow {
    const wchar_t* catalan;
    const wchar_t* spanish;
    const wchar_t* galician;
    const wchar_t* aranese;
};

inline constexpr std::size_t kCatalogueSize = 18;
extern const std::array<CatalogueRow, kCatalogueSize> kCatalogue;

// `source` in `language` by Translate's rules, looked up in `rows` instead
// of the catalogue.
std::wstring TranslateWith(std::span<const CatalogueRow> rows, const std::wstring& language,
                           const std::wstring& source);

}  // namespace zoriza
