#include <gtest/gtest.h>

#include "platform/base/error.h"
#include "settings/settings_store.h"

namespace zoriza {
namespace {

TEST(NumberText, IsTheShortestDecimalForm) {
    EXPECT_EQ(NumberText(0), L"0");
    EXPECT_EQ(NumberText(2), L"2");
    EXPECT_EQ(NumberText(-1), L"-1");
    EXPECT_EQ(NumberText(-32768), L"-32768");
}

// The forms a saved number may take, and how each reads back. Beyond the
// plain forms: a sign without digits and a text with no number read 0; an
// exponent counts only when it has digits of its own; "&H" hexadecimal is not
// a number here.
TEST(ReadSavedNumber, ReadsTheLeadingNumberRoundedHalfToEven) {
    const std::pair<const wchar_t*, std::int16_t> cases[] = {
        {L"2", 2},        {L" 2", 2},        {L"\t 3", 3},     {L"2.5", 2},     {L"3.5", 4},
        {L"-2.5", -2},    {L"0.5", 0},       {L"1.5", 2},      {L"2.51", 3},    {L"-1", -1},
        {L"abc", 0},      {L"2abc", 2},      {L"", 0},         {L" ", 0},       {L"-", 0},
        {L"+", 0},        {L"+3", 3},        {L".5", 0},       {L"1.", 1},      {L"32767", 32767},
        {L"-32768", -32768}, {L"-32768.5", -32768}, {L"32767.4", 32767}, {L"1e2", 100},
        {L"1e", 1},       {L"1e+", 1},       {L"2E-1", 0},     {L"007", 7},     {L"&H10", 0},
        {L"1 2", 1},      {L"1e-400", 0},    {L"0.0000000000000000000001", 0},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ReadSavedNumber(text), expected) << "'" << text << "'";
    }
}

TEST(ReadSavedNumber, ValuesOutsideSixteenBitsOverflow) {
    for (const wchar_t* text : {L"32768", L"-32769", L"32767.5", L"-32768.51", L"1e5", L"1e400",
                                L"99999999999999999999999999"}) {
        try {
            ReadSavedNumber(text);
            ADD_FAILURE() << "no overflow for '" << text << "'";
        } catch (const AppError& error) {
            EXPECT_EQ(error.Number(), kOverflow) << text;
        }
    }
}

}  // namespace
}  // namespace zoriza
