// Every text the catalogue translates, written out once as it must appear in
// each language, byte for byte (trailing blanks included). The columns are in
// the order of the language list: Català, Galego, Aranés, Castellano.
#pragma once

#include <array>
#include <cstddef>

namespace zoriza::expected {

enum LanguageIndex : std::size_t { kCatala = 0, kGalego = 1, kAranes = 2, kCastellano = 3 };

// The language code that each entry of the language list stands for.
inline constexpr std::array<const wchar_t*, 4> kExpectedLanguageCodes = {L"CAT", L"GLG", L"OCI", L"SPA"};

struct TranslatedText {
    std::array<const wchar_t*, 4> in;  // by LanguageIndex
    const wchar_t* Catalan() const { return in[kCatala]; }
};

inline constexpr TranslatedText kWindowCaptionText = {{
    L"ZORIZA Connexi\u00f3 client a servidor d'aplicacions VEK",
    L"ZORIZA Conexom cliente a servidor de aplica\u00e7ons VEK",
    L"ZORIZA Connexion client a servidor d'aplicacions VEK",
    L"ZORIZA Conexi\u00f3n cliente a servidor de aplicaciones VEK",
}};

inline constexpr std::array<TranslatedText, 4> kEditionTexts = {{
    {{L"VekPro Professional", L"VekPro Profesional", L"VekPro Professionau", L"VekPro Profesional"}},
    {{L"VekFin Finances", L"VekFin Finanzas", L"VekFin Finan\u00e7as", L"VekFin Finanzas"}},
    {{L"VekCom Comercial", L"VekCom Comercial", L"VekCom Comerciau", L"VekCom Comercial"}},
    {{L"VekNom N\u00f2mines", L"VekNom N\u00f3minas", L"VekNom N\u00f2minas", L"VekNom N\u00f3minas"}},
}};

inline constexpr TranslatedText kServerFrameText = {{L"Servidor", L"Servidor", L"Servidor", L"Servidor"}};
inline constexpr TranslatedText kScanButtonText = {{L"EXAMINAR", L"EXAMINAR", L"EXAMINAR", L"EXAMINAR"}};
inline constexpr TranslatedText kPlatformFrameText = {{L"Plataforma", L"Plataforma", L"Plataforma", L"Plataforma"}};
inline constexpr TranslatedText kIconsFrameText = {{
    L"Icones addicionals", L"Iconos adicionais", L"Ic\u00f2nes addicionaus", L"Iconos adicionales"}};
inline constexpr TranslatedText kDesktopBoxText = {{
    L"Acc\u00e9s escriptori", L"Acesso escrit\u00f3rio", L"Acc\u00e8s escript\u00f2ri", L"Acceso escritorio"}};
inline constexpr TranslatedText kNotFoundTitleText = {{
    L"NO S'HA TROBAT", L"NOM SE ATOPOU", L"NON S'A TROBAT", L"NO SE HA ENCONTRADO"}};

// The six tools' shortcut names, in the order the create command writes them.
inline constexpr std::array<TranslatedText, 6> kToolNameTexts = {{
    {{L"Calculadora", L"Calculadora", L"Calculadora", L"Calculadora"}},
    {{L"Calendari", L"Calend\u00e1rio", L"Calendari", L"Calendario"}},
    {{L"Gesti\u00f3 de bloquejos", L"Gestom de bloqueios", L"Gestion de blocatges", L"Gesti\u00f3n de bloqueos"}},
    {{L"Gesti\u00f3 documental", L"Gestom documental", L"Gestion documentau", L"Gesti\u00f3n documental"}},
    {{L"Reordenar fitxers", L"Reordenar ficheiros", L"Reordenar fich\u00e8rs", L"Reordenar ficheros"}},
    {{L"Servei d'actualitzacions", L"Servi\u00e7o de actualiza\u00e7ons", L"Servici d'actualizacions",
      L"Servicio de actualizaciones"}},
}};

inline constexpr TranslatedText kReportText = {{
    L"Creats accessos al servidor ", L"Creados acessos ao servidor ", L"Creadi acc\u00e8ssi ath servidor ",
    L"Creados accesos al servidor "}};

// The names screen readers read for the four lists, which show no caption:
// Lang, App, Drive1 and Dir1.
enum ListName : std::size_t { kLangName, kAppName, kDrive1Name, kDir1Name };
inline constexpr std::array<TranslatedText, 4> kListNameTexts = {{
    {{L"Idioma", L"Idioma", L"Lengua", L"Idioma"}},
    {{L"Aplicaci\u00f3", L"Aplica\u00e7om", L"Aplicacion", L"Aplicaci\u00f3n"}},
    {{L"Unitat del servidor", L"Unidade do servidor", L"Unitat deth servidor", L"Unidad del servidor"}},
    {{L"Carpeta del servidor", L"Pasta do servidor", L"Dossi\u00e8r deth servidor", L"Carpeta del servidor"}},
}};

// All eighteen, for the tests that go through every one.
inline constexpr std::array<TranslatedText, 18> kEveryTranslatedText = {{
    kWindowCaptionText, kEditionTexts[0], kEditionTexts[1], kEditionTexts[2], kEditionTexts[3],
    kServerFrameText, kScanButtonText, kPlatformFrameText, kIconsFrameText, kDesktopBoxText,
    kNotFoundTitleText, kToolNameTexts[0], kToolNameTexts[1], kToolNameTexts[2], kToolNameTexts[3],
    kToolNameTexts[4], kToolNameTexts[5], kReportText,
}};

}  // namespace zoriza::expected
