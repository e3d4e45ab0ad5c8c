#include <gtest/gtest.h>

#include "localisation/catalogue.h"
#include "tests/memory_platform/memory_environment.h"

namespace zoriza {
namespace {

TEST(LanguageIdText, IsUpperCaseHexadecimalWithoutLeadingZeros) {
    const std::pair<std::uint16_t, const wchar_t*> cases[] = {
        {0x0000, L"0"}, {0x0082, L"82"}, {0x0C0A, L"C0A"}, {0x0403, L"403"}, {0xE40A, L"E40A"}, {0xFFFF, L"FFFF"}};
    for (const auto& [id, text] : cases) EXPECT_EQ(LanguageIdText(id), text);
}

TEST(DetectLanguage, MapsListedIdentifiersAndFallsBackToCatalan) {
    const std::pair<std::uint16_t, const wchar_t*> cases[] = {
        {0x0403, kCatalan},  {0x0803, kCatalan},  {0x0456, kGalician}, {0x0416, kGalician},
        {0x0816, kGalician}, {0x0082, kAranese},  {0x0482, kAranese},  {0x0C0A, kSpanish},
        {0x040A, kSpanish},  {0x080A, kSpanish},  {0x540A, kSpanish},  {0xE40A, kSpanish},
        {0x2C0A, kSpanish},  {0x500A, kSpanish},  {0x580A, kCatalan},  // Spanish, sublanguage 22
        {0x000A, kCatalan},  {0x0056, kCatalan},  {0x0016, kCatalan},  {0x0409, kCatalan},
        {0x0000, kCatalan},  {0x0C04, kCatalan},
    };
    for (const auto& [id, expected] : cases) {
        MemoryLanguageId source(id);
        EXPECT_EQ(DetectLanguage(source), expected) << std::hex << id;
    }
}

TEST(DetectLanguage, EverySpanishSublanguageFromOneToTwentyOneIsSpanish) {
    for (std::uint16_t sub = 1; sub <= 21; ++sub) {
        MemoryLanguageId source(static_cast<std::uint16_t>(sub << 10 | 0x0A));
        EXPECT_EQ(DetectLanguage(source), kSpanish) << sub;
    }
}

TEST(DetectLanguage, DoesNotTouchTheCurrentLanguage) {
    CurrentLanguage = L"GLG";
    MemoryLanguageId source(0x0C0A);
    DetectLanguage(source);
    EXPECT_EQ(CurrentLanguage, L"GLG");
    CurrentLanguage.clear();
}

}  // namespace
}  // namespace zoriza
