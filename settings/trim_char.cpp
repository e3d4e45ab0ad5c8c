#include "settings/settings_store.h"

namespace zoriza {

std::wstring TrimChar(std::wstring text, const std::wstring& character) {
    const wchar_t c = character.at(0);
    const std::size_t first = text.find_first_not_of(c);
    if (first == std::wstring::npos) return {};
    const std::size_t last = text.find_last_not_of(c);
    return text.substr(first, last - first + 1);
}

}  // namespace zoriza
