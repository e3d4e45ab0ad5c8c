#include "platform/win32/win32_environment.h"

#include <windows.h>

namespace zoriza {

std::wstring Win32Environment::Variable(const std::wstring& name) const {
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetEnvironmentVariableW(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) return {};
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(length);  // too small: `length` counts the terminator
    }
}

std::uint16_t Win32LanguageId::UserDefaultLangId() const { return GetUserDefaultLangID(); }

}  // namespace zoriza
