// Writes what the create command writes for the worked example (edition
// VekPro, 32 bit, with a desktop shortcut, in Catalan), straight through the
// Shell's link object and the registry: the Desktop shortcut, the seven in
// Programs\VekPro and the five settings; and tells the shell of the folder
// and each shortcut made, as the create command does. It times itself from the first
// folder lookup to the last registry call (COM is started before, as
// ZORIZA.exe starts it at its own start) and exits with the time taken in
// microseconds, or with 0xE00000nn naming the step that failed. Before it
// starts the clock it waits SETTLE_MS, so that its own process start is over,
// as ZORIZA.exe's is long over when CREAR is clicked.
//
//   floor_create.exe [SERVER_FOLDER [SETTLE_MS]]     (default F:\VekPro 0)
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdlib>
#include <string>

#include "platform/win32/unique_handle.h"

namespace {

constexpr DWORD kFailed = 0xE0000000;
constexpr wchar_t kSettingsKey[] = L"Software\\Ruvo Software\\ZorIza";
constexpr wchar_t kEdition[] = L"VekPro Professional";

struct Link {
    const wchar_t* name;
    const wchar_t* file;  // in the server folder
    const wchar_t* icon;  // in the server folder
    const wchar_t* arguments;
    int showCommand;
};

constexpr Link kProgramsLinks[] = {
    {kEdition, L"VEKBIN.BAT", L"IMATGES\\RUVO.ICO", L"", SW_SHOWMAXIMIZED},
    {L"Calculadora", L"VEKCALC.EXE", L"IMATGES\\VEKCALC.ICO", L"", SW_SHOWNORMAL},
    {L"Calendari", L"VEKCAL.HTA", L"IMATGES\\VEKCAL.ICO", L"", SW_SHOWNORMAL},
    {L"Gestió de bloquejos", L"VEKLOCK.HTA", L"IMATGES\\VEKLOCK.ICO", L"", SW_SHOWNORMAL},
    {L"Gestió documental", L"VEKDOCS.EXE", L"IMATGES\\VEKDOCS.ICO", L"", SW_SHOWNORMAL},
    {L"Reordenar fitxers", L"VEKBIN.BAT", L"IMATGES\\ZEMBRADO.ICO", L"BIN/ZEMBRADO.EXE", SW_SHOWMAXIMIZED},
    {L"Servei d'actualitzacions", L"VEKUPDAT.HTA", L"IMATGES\\VEKUPDAT.ICO", L"", SW_SHOWNORMAL},
};

std::wstring KnownFolder(const KNOWNFOLDERID& id) {
    zoriza::UniqueCoTaskString path;
    if (FAILED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, path.put()))) return {};
    return path.get();
}

bool WriteLink(const std::wstring& linkPath, const std::wstring& target, const std::wstring& icon,
               const wchar_t* arguments, int showCommand, const std::wstring& workingFolder) {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        return false;
    }
    IPersistFile* file = nullptr;
    const bool written = SUCCEEDED(link->SetPath(target.c_str())) && SUCCEEDED(link->SetShowCmd(showCommand)) &&
                         SUCCEEDED(link->SetHotkey(0)) && SUCCEEDED(link->SetIconLocation(icon.c_str(), 0)) &&
                         SUCCEEDED(link->SetDescription(L"")) && SUCCEEDED(link->SetArguments(arguments)) &&
                         SUCCEEDED(link->SetWorkingDirectory(workingFolder.c_str())) &&
                         SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                         SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
    if (file != nullptr) file->Release();
    link->Release();
    if (written) SHChangeNotify(SHCNE_CREATE, SHCNF_PATHW | SHCNF_FLUSHNOWAIT, linkPath.c_str(), nullptr);
    return written;
}

bool SetText(HKEY key, const wchar_t* name, const std::wstring& text) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

DWORD Create(const std::wstring& server) {
    const std::wstring desktop = KnownFolder(FOLDERID_Desktop);
    const std::wstring programs = KnownFolder(FOLDERID_Programs);
    if (desktop.empty() || programs.empty()) return kFailed | 1;
    const std::wstring folder = programs + L"\\VekPro";
    if (CreateDirectoryW(folder.c_str(), nullptr)) {
        SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHW | SHCNF_FLUSHNOWAIT, folder.c_str(), nullptr);
    } else if (GetLastError() != ERROR_ALREADY_EXISTS) {
        return kFailed | 2;
    }

    const std::wstring prefix = server + L"\\";
    if (!WriteLink(desktop + L"\\" + kEdition + L".lnk", prefix + L"VEKBIN.BAT", prefix + L"RUVO.ICO", L"",
                   SW_SHOWMAXIMIZED, server)) {
        return kFailed | 3;
    }
    for (const Link& link : kProgramsLinks) {
        if (!WriteLink(folder + L"\\" + link.name + L".lnk", prefix + link.file, prefix + link.icon, link.arguments,
                       link.showCommand, server)) {
            return kFailed | 4;
        }
    }

    zoriza::UniqueRegistryKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS) {
        return kFailed | 5;
    }
    const HKEY settings = key.get();
    const bool saved = SetText(settings, L"Idioma", L"0") && SetText(settings, L"Aplicacio", L"0") &&
                       SetText(settings, L"Directori", server) && SetText(settings, L"Plataforma", L"1") &&
                       SetText(settings, L"Icona0", L"1");
    return saved ? 0 : kFailed | 6;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring server = __argc > 1 ? __wargv[1] : L"F:\\VekPro";
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return static_cast<int>(kFailed | 7);
    if (__argc > 2) Sleep(static_cast<DWORD>(_wtoi(__wargv[2])));
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const DWORD failure = Create(server);
    QueryPerformanceCounter(&end);
    CoUninitialize();
    if (failure != 0) return static_cast<int>(failure);
    return static_cast<int>((end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart);
}
