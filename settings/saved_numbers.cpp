#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/base/error.h"
#include "settings/settings_store.h"
#include "platform/base/text.h"

namespace zoriza {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Appends the run of digits at `pos` to `out`; returns how many there were.
std::size_t TakeDigits(const std::wstring& text, std::size_t& pos, std::string& out) {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) out += static_cast<char>(text[pos++]);
    return pos - start;
}

// The leading number of `text` in plain ASCII: optional sign, digits, an
// optional fraction and an optional exponent that has digits of its own.
// Empty when the text does not begin with a number.
std::string LeadingNumber(const std::wstring& text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    std::string number;
    if (pos < text.size() && (text[pos] == L'-' || text[pos] == L'+')) {
        if (text[pos] == L'-') number += '-';
        ++pos;
    }
    std::size_t digits = TakeDigits(text, pos, number);
    if (pos < text.size() && text[pos] == L'.') {
        number += '.';
        ++pos;
        digits += TakeDigits(text, pos, number);
    }
    if (digits == 0) return {};
    if (pos + 1 < text.size() && (text[pos] == L'e' || text[pos] == L'E')) {
        std::size_t exponentPos = pos + 1;
        std::string exponent = "e";
        if (text[exponentPos] == L'-' || text[exponentPos] == L'+') {
            exponent += static_cast<char>(text[exponentPos++]);
        }
        if (TakeDigits(text, exponentPos, exponent) > 0) number += exponent;
    }
    return number;
}

[[noreturn]] void ThrowOverflow() { throw AppError(kOverflow, L"Overflow"); }

}  // namespace

std::wstring NumberText(std::int16_t number) { return DecimalText(number); }

std::int16_t ReadSavedNumber(const std::wstring& text) {
    const std::string number = LeadingNumber(text);
    if (number.empty()) return 0;
    // The program never changes the C locale, so the decimal point is ".";
    // a value too large for a double comes back infinite, too small as zero.
    const double value = std::strtod(number.c_str(), nullptr);
    // Nearest integer, a value exactly halfway going to the even neighbour.
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max()) {
        ThrowOverflow();
    }
    return static_cast<std::int16_t>(rounded);
}

}  // namespace zoriza
