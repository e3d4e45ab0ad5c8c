#include <array>

#include "localisation/catalogue.h"
#include "platform/language_id.h"

namespace zoriza {

namespace {

struct LanguageIdEntry {
    const wchar_t* idText;
    const wchar_t* language;
};

// Matched as texts, in this order: Catalan, Galician and Portuguese, Occitan,
// and Spanish with sublanguages 1 to 21 and 57.
constexpr std::array<LanguageIdEntry, 29> kLanguageIds = {{
    {L"403", kCatalan},   {L"803", kCatalan},   {L"456", kGalician},  {L"416", kGalician},
    {L"816", kGalician},  {L"82", kAranese},    {L"482", kAranese},   {L"2C0A", kSpanish},
    {L"400A", kSpanish},  {L"240A", kSpanish},  {L"140A", kSpanish},  {L"340A", kSpanish},
    {L"1C0A", kSpanish},  {L"300A", kSpanish},  {L"440A", kSpanish},  {L"100A", kSpanish},
    {L"480A", kSpanish},  {L"E40A", kSpanish},  {L"80A", kSpanish},   {L"4C0A", kSpanish},
    {L"180A", kSpanish},  {L"3C0A", kSpanish},  {L"280A", kSpanish},  {L"500A", kSpanish},
    {L"C0A", kSpanish},   {L"40A", kSpanish},   {L"540A", kSpanish},  {L"380A", kSpanish},
    {L"200A", kSpanish},
}};

}  // namespace

std::wstring LanguageIdText(std::uint16_t languageId) {
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring text;
    do {
        text.insert(text.begin(), kDigits[languageId % 16]);
        languageId /= 16;
    } while (languageId != 0);
    return text;
}

std::wstring DetectLanguage(const LanguageIdSource& languageIds) {
    const std::wstring idText = LanguageIdText(languageIds.UserDefaultLangId());
    for (const LanguageIdEntry& entry : kLanguageIds) {
        if (idText == entry.idText) return entry.language;
    }
    return kCatalan;
}

}  // namespace zoriza
