// The create command's worked example, written out once for every layer of
// tests: Catalan, the first edition, 32 bit, the desktop shortcut wanted, the
// server folder F:\VekPro. The shortcuts in the order they are written, the
// five settings in the order they are saved, and the report.
#pragma once

#include <array>

namespace zoriza::expected {

enum class LinkFolder { Desktop, Programs };

struct ExpectedShortcut {
    LinkFolder folder;
    const wchar_t* name;  // below the folder, without ".lnk"
    const wchar_t* target;
    const wchar_t* icon;
    const wchar_t* arguments;
    const wchar_t* workingFolder;
    int showCommand;  // 1 normal, 3 maximised
    const wchar_t* appUserModelId = L"";
};

struct ExpectedSetting {
    const wchar_t* name;
    const wchar_t* text;
};

inline constexpr wchar_t kWorkedExampleFolder[] = L"F:\\VekPro";
inline constexpr wchar_t kWorkedExampleEdition[] = L"VekPro Professional";

inline constexpr std::array<ExpectedShortcut, 8> kWorkedExampleShortcuts = {{
    {LinkFolder::Desktop, L"VekPro Professional", L"F:\\VekPro\\VEKBIN.BAT", L"F:\\VekPro\\RUVO.ICO", L"",
     L"F:\\VekPro", 3, L"RuvoSoftware.VekPro.Aplicacio"},
    {LinkFolder::Programs, L"VekPro\\VekPro Professional", L"F:\\VekPro\\VEKBIN.BAT",
     L"F:\\VekPro\\IMATGES\\RUVO.ICO", L"", L"F:\\VekPro", 3, L"RuvoSoftware.VekPro.Aplicacio"},
    {LinkFolder::Programs, L"VekPro\\Calculadora", L"F:\\VekPro\\VEKCALC.EXE", L"F:\\VekPro\\IMATGES\\VEKCALC.ICO",
     L"", L"F:\\VekPro", 1, L"RuvoSoftware.VekPro.Calculadora"},
    {LinkFolder::Programs, L"VekPro\\Calendari", L"F:\\VekPro\\VEKCAL.HTA", L"F:\\VekPro\\IMATGES\\VEKCAL.ICO", L"",
     L"F:\\VekPro", 1, L"RuvoSoftware.VekPro.Calendari"},
    {LinkFolder::Programs, L"VekPro\\Gesti\u00f3 de bloquejos", L"F:\\VekPro\\VEKLOCK.HTA",
     L"F:\\VekPro\\IMATGES\\VEKLOCK.ICO", L"", L"F:\\VekPro", 1, L"RuvoSoftware.VekPro.GestioBloquejos"},
    {LinkFolder::Programs, L"VekPro\\Gesti\u00f3 documental", L"F:\\VekPro\\VEKDOCS.EXE",
     L"F:\\VekPro\\IMATGES\\VEKDOCS.ICO", L"", L"F:\\VekPro", 1, L"RuvoSoftware.VekPro.GestioDocumental"},
    {LinkFolder::Programs, L"VekPro\\Reordenar fitxers", L"F:\\VekPro\\VEKBIN.BAT",
     L"F:\\VekPro\\IMATGES\\ZEMBRADO.ICO", L"BIN/ZEMBRADO.EXE", L"F:\\VekPro", 3,
     L"RuvoSoftware.VekPro.ReordenarFitxers"},
    {LinkFolder::Programs, L"VekPro\\Servei d'actualitzacions", L"F:\\VekPro\\VEKUPDAT.HTA",
     L"F:\\VekPro\\IMATGES\\VEKUPDAT.ICO", L"", L"F:\\VekPro", 1,
     L"RuvoSoftware.VekPro.ServeiActualitzacions"},
}};

inline constexpr std::array<ExpectedSetting, 5> kWorkedExampleSettings = {{
    {L"Idioma", L"0"},
    {L"Aplicacio", L"0"},
    {L"Directori", L"F:\\VekPro"},
    {L"Plataforma", L"1"},
    {L"Icona0", L"1"},
}};

inline constexpr wchar_t kWorkedExampleReport[] = L"Creats accessos al servidor F:\\VekPro\\";

}  // namespace zoriza::expected
