// The user's last choices: five text values under one key of the current
// user's registry, read at start-up and written by the create command.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace zoriza {

inline constexpr RegistryRoot kDefaultRoot = 0;  // HKEY_CURRENT_USER
inline constexpr wchar_t kSettingsKey[] = L"Software\\Ruvo Software\\ZorIza";

inline constexpr wchar_t kLanguageSetting[] = L"Idioma";
inline constexpr wchar_t kEditionSetting[] = L"Aplicacio";
inline constexpr wchar_t kFolderSetting[] = L"Directori";
inline constexpr wchar_t kPlatformSetting[] = L"Plataforma";
inline constexpr wchar_t kDesktopIconSetting[] = L"Icona0";

// `text` without every leading and trailing occurrence of `character`'s first
// character; `character` must not be empty.
std::wstring TrimChar(std::wstring text, const std::wstring& character);

// The value's text, or empty when it cannot be read for any reason.
std::wstring RegGetString(Registry& registry, RegistryRoot root, const std::wstring& keyPath,
                          const std::wstring& valueName);

// Stores `text` as REG_SZ, creating the key when it is missing; true when stored.
bool RegSetString(Registry& registry, RegistryRoot root, const std::wstring& keyPath,
                  const std::wstring& valueName, const std::wstring& text);

// Whether the value holds exactly what RegSetString would store for `text`.
bool RegHoldsString(Registry& registry, RegistryRoot root, const std::wstring& keyPath, const std::wstring& valueName,
                    const std::wstring& text);

// A 16-bit number as it is saved: "0", "3", "-1".
std::wstring NumberText(std::int16_t number);

// A saved text read back as a 16-bit number: blanks skipped, the number at the
// start of the text (0 when there is none), rounded half to even. A value
// outside the 16-bit range throws kOverflow.
std::int16_t ReadSavedNumber(const std::wstring& text);

}  // namespace zoriza
