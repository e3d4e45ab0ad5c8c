#pragma once

#include <cstdint>

namespace zoriza {

class LanguageIdSource {
public:
    virtual ~LanguageIdSource() = default;
    // The language identifier of the user's default locale.
    virtual std::uint16_t UserDefaultLangId() const = 0;
};

}  // namespace zoriza
