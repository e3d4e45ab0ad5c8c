#include "localisation/accessible_names.h"

#include <array>

#include "localisation/catalogue.h"

namespace zoriza {

namespace {

const std::array<CatalogueRow, 4> kAccessibleNames = {{
    {kLanguageListName, L"Idioma", L"Idioma", L"Lengua"},
    {kEditionListName, L"Aplicaci\u00f3n", L"Aplica\u00e7om", L"Aplicacion"},
    {kDriveListName, L"Unidad del servidor", L"Unidade do servidor", L"Unitat deth servidor"},
    {kFolderListName, L"Carpeta del servidor", L"Pasta do servidor", L"Dossi\u00e8r deth servidor"},
}};

}  // namespace

std::wstring TranslateAccessibleName(const std::wstring& name) {
    return TranslateWith(kAccessibleNames, CurrentLanguage, name);
}

}  // namespace zoriza
