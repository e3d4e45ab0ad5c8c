// What the end-to-end tests read and prepare besides the window: the saved
// settings, the user's shortcut folders and the shortcuts in them.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/unique_handle.h"

namespace zoriza::e2e {

// The settings key under HKEY_CURRENT_USER and its five values.
inline constexpr wchar_t kSettingsKey[] = L"Software\\Ruvo Software\\ZorIza";
inline constexpr wchar_t kIdioma[] = L"Idioma";
inline constexpr wchar_t kAplicacio[] = L"Aplicacio";
inline constexpr wchar_t kDirectori[] = L"Directori";
inline constexpr wchar_t kPlataforma[] = L"Plataforma";
inline constexpr wchar_t kIcona[] = L"Icona0";
inline constexpr std::array<const wchar_t*, 5> kSettingNames = {kIdioma, kAplicacio, kDirectori, kPlataforma,
                                                                kIcona};

// The stored value's type and text, or none when there is no such value.
struct StoredValue {
    DWORD type = 0;
    std::vector<BYTE> data;
    std::wstring Text() const;
};
std::optional<StoredValue> Stored(const wchar_t* name);
void Store(const wchar_t* name, DWORD type, const std::vector<BYTE>& data);
void StoreText(const wchar_t* name, const std::wstring& text);
bool SettingsKeyExists();
void ClearSettings();

std::wstring KnownFolder(const KNOWNFOLDERID& id);
std::wstring DesktopFolder();
std::wstring ProgramsFolder();

struct LinkFields {
    std::wstring target;
    std::wstring arguments;
    std::wstring workingDirectory;
    std::wstring iconLocation;
    int iconIndex = -1;
    std::wstring description;
    WORD hotkey = 0xFFFF;
    DWORD showCommand = 0;      // read from the file: Wine's GetShowCmd after Load is wrong
    WORD headerHotkey = 0xFFFF;  // the hot key as the file's header holds it
};
LinkFields ReadLink(const std::wstring& path);
// Loads the shortcut, lets `edit` change it and saves it, as another program would.
void EditLink(const std::wstring& path, const std::function<void(IShellLinkW&)>& edit);

// The whole file at `path`; empty when there is none.
std::string FileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
void WriteFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL);
void RemoveTree(const std::wstring& path);
// Every .lnk below `folder`, as paths relative to it, sorted.
std::vector<std::wstring> LinksUnder(const std::wstring& folder);
// Every temporary file of the shortcut writer's below `folder`: none may stay.
std::vector<std::wstring> TemporaryFilesUnder(const std::wstring& folder);
// The name of every file and folder directly in `folder`, sorted.
std::vector<std::wstring> EntriesIn(const std::wstring& folder);

// Tells the server of a stalling drive (set up with ZORIZA_STALLING_DRIVES)
// to "stall" or "answer", through its control file C:\stalling\<letter>.control,
// and gives it the time to read it (it looks every 50 ms).
void TellStallingServer(wchar_t letter, const std::string& word);

// The user's Desktop redirected to `folder`, as a policy redirects it, for
// as long as the object lives; the Desktop as it was then. Throws when the
// redirection cannot be set.
class RedirectedDesktop {
public:
    explicit RedirectedDesktop(const std::wstring& folder);
    ~RedirectedDesktop();
    RedirectedDesktop(const RedirectedDesktop&) = delete;
    RedirectedDesktop& operator=(const RedirectedDesktop&) = delete;

private:
    bool Set(DWORD type, const std::wstring& text);

    UniqueRegistryKey key_;
    std::optional<std::wstring> old_;  // none when the Desktop was not redirected
    DWORD oldType_ = REG_EXPAND_SZ;
};

// COM for the calling thread, as long as the object lives.
class ComScope {
public:
    ComScope() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComScope() { CoUninitialize(); }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
};

}  // namespace zoriza::e2e
