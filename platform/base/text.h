#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace zoriza {

// ASCII letters to upper case; every other character unchanged. Drive letters,
// application codes and the location "Desktop" are all ASCII.
inline std::wstring AsciiUpper(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return text;
}

inline constexpr std::size_t kDriveLength = 2;  // "F:"

// "F:" for any text that begins with a drive letter and a colon, in either case.
inline std::wstring DriveKey(const std::wstring& text) { return AsciiUpper(text.substr(0, kDriveLength)); }

// A folder's path without its final backslash; a drive root such as "F:\"
// keeps it.
inline std::wstring WithoutFinalBackslash(std::wstring path) {
    if (path.size() > kDriveLength + 1 && path.back() == L'\\') path.pop_back();
    return path;
}

// A whole number in decimal, with a minus sign when negative: "0", "-1".
inline std::wstring DecimalText(long long number) {
    const bool negative = number < 0;
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(number)
                                            : static_cast<unsigned long long>(number);
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    return negative ? L"-" + digits : digits;
}

// The pieces one after the other. One call in place of a chain of operator+
// keeps the code at each call small: every + is a string built in place.
std::wstring Joined(std::initializer_list<std::wstring_view> pieces);

// The names of a full path below its drive, as written ("." and ".."
// included), without the empty ones of doubled or final backslashes.
std::vector<std::wstring> PathParts(const std::wstring& path);

// The folder names of a full path below its drive ("F:\\a\\.\\b\\..\\c" gives
// "a", "c"), "." and ".." resolved as the system resolves them and empty
// names (doubled or final backslashes) left out.
std::vector<std::wstring> ResolvedPathParts(const std::wstring& path);

}  // namespace zoriza
