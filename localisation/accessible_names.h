// The names screen readers give the four lists, which show no caption of
// their own. Written in Catalan and translated like the catalogue's texts,
// but kept apart from it: the catalogue holds the window's visible texts.
#pragma once

#include <string>

namespace zoriza {

inline constexpr wchar_t kLanguageListName[] = L"Idioma";
inline constexpr wchar_t kEditionListName[] = L"Aplicaci\u00f3";
inline constexpr wchar_t kDriveListName[] = L"Unitat del servidor";
inline constexpr wchar_t kFolderListName[] = L"Carpeta del servidor";

// `name` in the current language, by Translate's rules; any other text
// comes back unchanged.
std::wstring TranslateAccessibleName(const std::wstring& name);

}  // namespace zoriza
