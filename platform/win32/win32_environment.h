#pragma once

#include "platform/environment.h"
#include "platform/language_id.h"

namespace zoriza {

class Win32Environment : public Environment {
public:
    std::wstring Variable(const std::wstring& name) const override;
};

class Win32LanguageId : public LanguageIdSource {
public:
    std::uint16_t UserDefaultLangId() const override;
};

}  // namespace zoriza
