#include "localisation/catalogue.h"

namespace zoriza {

std::wstring CurrentLanguage;

const std::array<CatalogueRow, kCatalogueSize> kCatalogue = {{
    {L"ZORIZA Connexió client a servidor d'aplicacions VEK",
     L"ZORIZA Conexión cliente a servidor de aplicaciones VEK",
     L"ZORIZA Conexom cliente a servidor de aplicaçons VEK",
     L"ZORIZA Connexion client a servidor d'aplicacions VEK"},
    {kEditionCaptions[0], L"VekPro Profesional", L"VekPro Profesional", L"VekPro Professionau"},
    {kEditionCaptions[1], L"VekFin Finanzas", L"VekFin Finanzas", L"VekFin Finanças"},
    {kEditionCaptions[2], L"VekCom Comercial", L"VekCom Comercial", L"VekCom Comerciau"},
    {kEditionCaptions[3], L"VekNom Nóminas", L"VekNom Nóminas", L"VekNom Nòminas"},
    {L"Servidor", L"Servidor", L"Servidor", L"Servidor"},
    {L"EXAMINAR", L"EXAMINAR", L"EXAMINAR", L"EXAMINAR"},
    {L"Plataforma", L"Plataforma", L"Plataforma", L"Plataforma"},
    {L"Icones addicionals", L"Iconos adicionales", L"Iconos adicionais", L"Icònes addicionaus"},
    {L"Accés escriptori", L"Acceso escritorio", L"Acesso escritório", L"Accès escriptòri"},
    {L"NO S'HA TROBAT", L"NO SE HA ENCONTRADO", L"NOM SE ATOPOU", L"NON S'A TROBAT"},
    {L"Calculadora", L"Calculadora", L"Calculadora", L"Calculadora"},
    {L"Calendari", L"Calendario", L"Calendário", L"Calendari"},
    {L"Gestió de bloquejos", L"Gestión de bloqueos", L"Gestom de bloqueios", L"Gestion de blocatges"},
    {L"Gestió documental", L"Gestión documental", L"Gestom documental", L"Gestion documentau"},
    {L"Reordenar fitxers", L"Reordenar ficheros", L"Reordenar ficheiros", L"Reordenar fichèrs"},
    {L"Servei d'actualitzacions", L"Servicio de actualizaciones", L"Serviço de actualizaçons",
     L"Servici d'actualizacions"},
    {L"Creats accessos al servidor ", L"Creados accesos al servidor ",
     L"Creados acessos ao servidor ", L"Creadi accèssi ath servidor "},
}};

namespace {

using Column = const wchar_t* CatalogueRow::*;

// The column of the current language, or none for Catalan and unknown codes.
Column ColumnOf(const std::wstring& language) {
    if (language == kSpanish) return &CatalogueRow::spanish;
    if (language == kGalician) return &CatalogueRow::galician;
    if (language == kAranese) return &CatalogueRow::aranese;
    return nullptr;
}

}  // namespace

std::wstring Translate(const std::wstring& source) { return TranslateInto(CurrentLanguage, source); }

std::wstring TranslateInto(const std::wstring& language, const std::wstring& source) {
    return TranslateWith(kCatalogue, language, source);
}

std::wstring TranslateWith(std::span<const CatalogueRow> rows, const std::wstring& language,
                           const std::wstring& source) {
    const Column column = ColumnOf(language);
    if (column == nullptr) return source;
    for (const CatalogueRow& row : rows) {
        if (source == row.catalan) return row.*column;
    }
    return source;
}

}  // namespace zoriza
