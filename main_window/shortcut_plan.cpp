#include "main_window/shortcut_plan.h"

#include <algorithm>
#include <array>

#include "localisation/catalogue.h"
#include "platform/base/error.h"
#include "platform/base/text.h"

namespace zoriza {

namespace {

struct ToolShortcut {
    const wchar_t* nameKey;
    const wchar_t* file;  // empty: the launcher itself
    const wchar_t* icon;
    bool launcherArgument;
    bool maximized;
    const wchar_t* idName;  // the last part of its AppUserModelID
};

constexpr std::array<ToolShortcut, 6> kTools = {{
    {L"Calculadora", L"VEKCALC.EXE", L"IMATGES\\VEKCALC.ICO", false, false, L"Calculadora"},
    {L"Calendari", L"VEKCAL.HTA", L"IMATGES\\VEKCAL.ICO", false, false, L"Calendari"},
    {L"Gestió de bloquejos", L"VEKLOCK.HTA", L"IMATGES\\VEKLOCK.ICO", false, false, L"GestioBloquejos"},
    {L"Gestió documental", L"VEKDOCS.EXE", L"IMATGES\\VEKDOCS.ICO", false, false, L"GestioDocumental"},
    {L"Reordenar fitxers", L"", L"IMATGES\\ZEMBRADO.ICO", true, true, L"ReordenarFitxers"},
    {L"Servei d'actualitzacions", L"VEKUPDAT.HTA", L"IMATGES\\VEKUPDAT.ICO", false, false,
     L"ServeiActualitzacions"},
}};

constexpr wchar_t kDesktop[] = L"Desktop";
constexpr wchar_t kPrograms[] = L"";

// The Start menu shows only one of several shortcuts to one file unless each
// carries an ID of its own: the application and "Reordenar fitxers" both
// start the launcher.
std::wstring AppUserModelId(const std::wstring& appCode, const wchar_t* idName) {
    return Joined({L"RuvoSoftware.", appCode, L".", idName});
}

}  // namespace

std::vector<PlannedShortcut> ShortcutPlan(const LaunchTarget& target, const std::wstring& editionText,
                                          bool desktopWanted) {
    const std::wstring launcher = target.ServerDir + target.BatchFile;
    const std::wstring programsFolder = target.AppCode + L"\\";
    const std::wstring applicationId = AppUserModelId(target.AppCode, L"Aplicacio");
    std::vector<PlannedShortcut> plan;
    if (desktopWanted) plan.push_back({kDesktop, editionText, launcher, L"RUVO.ICO", L"", true, applicationId});
    plan.push_back(
        {kPrograms, programsFolder + editionText, launcher, L"IMATGES\\RUVO.ICO", L"", true, applicationId});
    for (const ToolShortcut& tool : kTools) {
        const bool usesLauncher = tool.file[0] == L'\0';
        plan.push_back({kPrograms, programsFolder + Translate(tool.nameKey),
                        usesLauncher ? launcher : target.ServerDir + tool.file, tool.icon,
                        tool.launcherArgument ? target.BinFolder + L"/ZEMBRADO.EXE" : L"",
                        tool.maximized, AppUserModelId(target.AppCode, tool.idName)});
    }
    return plan;
}

std::wstring ShortcutDisplayName(const PlannedShortcut& shortcut) {
    const std::wstring folder = shortcut.location.empty() ? L"Programs" : shortcut.location;
    return folder + L"\\" + shortcut.linkName + L".lnk";
}

std::optional<RefusedShortcut> FirstRefusedShortcut(ShellLinks& shell, const std::vector<PlannedShortcut>& plan) {
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const PlannedShortcut& shortcut = plan[i];
        try {
            const std::wstring tooLong = PathTooLong(
                PathsOfShortcut(shell, shortcut.location, shortcut.target, shortcut.linkName, shortcut.iconPath));
            if (tooLong.empty()) continue;
            return RefusedShortcut{i, AppError(kBadFileName, L"The path is longer than Windows allows: " + tooLong)};
        } catch (const AppError& error) {
            return RefusedShortcut{i, error};
        }
    }
    return std::nullopt;
}

bool IsPlannedTarget(std::int16_t editionIndex, const std::wstring& target) {
    const std::wstring wanted = AsciiUpper(target);
    for (const bool sixteenBit : {false, true}) {
        const LaunchTarget launch = ResolveLaunchTarget(editionIndex, WorkingFolderOf(target), sixteenBit);
        for (const PlannedShortcut& planned : ShortcutPlan(launch, L"", false)) {
            if (AsciiUpper(planned.target) == wanted) return true;
        }
    }
    return false;
}

std::vector<ShortcutName> ShortcutNamesInEveryLanguage(const std::wstring& appCode, const std::wstring& editionKey) {
    std::vector<ShortcutName> names;
    const auto add = [&names](const std::wstring& location, const std::wstring& linkName) {
        const ShortcutName name{location, linkName};
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    };
    for (const wchar_t* language : kLanguageCodes) add(kDesktop, TranslateInto(language, editionKey));
    std::vector<const wchar_t*> keys = {editionKey.c_str()};
    for (const ToolShortcut& tool : kTools) keys.push_back(tool.nameKey);
    for (const wchar_t* key : keys) {
        for (const wchar_t* language : kLanguageCodes) add(kPrograms, Joined({appCode, L"\\", TranslateInto(language, key)}));
    }
    return names;
}

}  // namespace zoriza
