#pragma once

#include <string>

namespace zoriza {

// ASCII letters to upper case; every other character unchanged. Drive letters,
// application codes and the location "Desktop" are all ASCII.
inline std::wstring AsciiUpper(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return text;
}

}  // namespace zoriza
