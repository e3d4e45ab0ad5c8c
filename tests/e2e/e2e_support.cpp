#include "tests/e2e/e2e_support.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <functional>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

#include "platform/win32/com_ptr.h"
#include "platform/win32/unique_handle.h"

namespace zoriza::e2e {

namespace {

constexpr std::size_t kHeaderSize = 0x4C;
constexpr std::size_t kShowCommandOffset = 0x3C;
constexpr std::size_t kHotkeyOffset = 0x40;

void Check(HRESULT result, const char* what) {
    if (FAILED(result)) throw std::runtime_error(what);
}

DWORD LittleEndian(const unsigned char* bytes, std::size_t width) {
    DWORD value = 0;
    for (std::size_t i = width; i-- > 0;) value = value << 8 | bytes[i];
    return value;
}

// The shell link header: its size first, then the show command and hot key.
void ReadHeader(const std::wstring& path, LinkFields& fields) {
    unsigned char header[kHeaderSize] = {};
    std::ifstream file(path.c_str(), std::ios::binary);
    file.read(reinterpret_cast<char*>(header), kHeaderSize);
    if (file.gcount() != static_cast<std::streamsize>(kHeaderSize) || LittleEndian(header, 4) != kHeaderSize) {
        throw std::runtime_error("not a shell link header");
    }
    fields.showCommand = LittleEndian(header + kShowCommandOffset, 4);
    fields.headerHotkey = static_cast<WORD>(LittleEndian(header + kHotkeyOffset, 2));
}

bool EndsWith(const std::wstring& name, const wchar_t* end) {
    const std::size_t length = wcslen(end);
    return name.size() > length && _wcsicmp(name.c_str() + name.size() - length, end) == 0;
}

// The files below `folder` whose names `wanted` takes.
void CollectFiles(const std::wstring& folder, const std::wstring& prefix,
                  const std::function<bool(const std::wstring&)>& wanted, std::vector<std::wstring>& files) {
    WIN32_FIND_DATAW entry{};
    const UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!find) return;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CollectFiles(folder + L"\\" + name, prefix + name + L"\\", wanted, files);
        } else if (wanted(name)) {
            files.push_back(prefix + name);
        }
    } while (FindNextFileW(find.get(), &entry));
}

}  // namespace

std::wstring StoredValue::Text() const {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto unit = static_cast<wchar_t>(data[i] | data[i + 1] << 8);
        if (unit == 0) break;
        text += unit;
    }
    return text;
}

std::optional<StoredValue> Stored(const wchar_t* name) {
    UniqueRegistryKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    StoredValue value;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key.get(), name, nullptr, &value.type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        value.data.resize(size);
        status = RegQueryValueExW(key.get(), name, nullptr, &value.type, value.data.data(), &size);
    }
    if (status != ERROR_SUCCESS) return std::nullopt;
    return value;
}

void Store(const wchar_t* name, DWORD type, const std::vector<BYTE>& data) {
    UniqueRegistryKey key;
    RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr);
    RegSetValueExW(key.get(), name, 0, type, data.data(), static_cast<DWORD>(data.size()));
}

void StoreText(const wchar_t* name, const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    Store(name, REG_SZ, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t)));
}

bool SettingsKeyExists() {
    UniqueRegistryKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS;
}

void ClearSettings() { RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey); RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey); }

std::wstring KnownFolder(const KNOWNFOLDERID& id) {
    UniqueCoTaskString path;
    if (FAILED(SHGetKnownFolderPath(id, 0, nullptr, path.put()))) throw std::runtime_error("no known folder");
    return path.get();
}

std::wstring DesktopFolder() { return KnownFolder(FOLDERID_Desktop); }
std::wstring ProgramsFolder() { return KnownFolder(FOLDERID_Programs); }

namespace {

// The Shell's link object loaded from the shortcut file at `path`.
struct LoadedLink {
    explicit LoadedLink(const std::wstring& path) {
        Check(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid()),
              "no shell link object");
        Check(link->QueryInterface(IID_IPersistFile, file.PutVoid()), "no IPersistFile");
        Check(file->Load(path.c_str(), STGM_READ), "shortcut does not load");
    }
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
};

}  // namespace

LinkFields ReadLink(const std::wstring& path) {
    const LoadedLink loaded(path);
    IShellLinkW* link = loaded.link.Get();
    LinkFields fields;
    wchar_t text[MAX_PATH * 2] = {};
    Check(link->GetPath(text, MAX_PATH * 2, nullptr, SLGP_RAWPATH), "GetPath");
    fields.target = text;
    Check(link->GetArguments(text, MAX_PATH * 2), "GetArguments");
    fields.arguments = text;
    Check(link->GetWorkingDirectory(text, MAX_PATH * 2), "GetWorkingDirectory");
    fields.workingDirectory = text;
    Check(link->GetIconLocation(text, MAX_PATH * 2, &fields.iconIndex), "GetIconLocation");
    fields.iconLocation = text;
    Check(link->GetDescription(text, MAX_PATH * 2), "GetDescription");
    fields.description = text;
    Check(link->GetHotkey(&fields.hotkey), "GetHotkey");
    ReadHeader(path, fields);
    return fields;
}

void EditLink(const std::wstring& path, const std::function<void(IShellLinkW&)>& edit) {
    const LoadedLink loaded(path);
    edit(*loaded.link.Get());
    Check(loaded.file->Save(path.c_str(), TRUE), "shortcut not saved");
}

std::string FileBytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void WriteFile(const std::wstring& path, DWORD attributes) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    {
        const UniqueFile file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) throw std::runtime_error("cannot write a file");
        const char content[] = "@echo off\r\n";
        DWORD written = 0;
        ::WriteFile(file.get(), content, sizeof(content) - 1, &written, nullptr);
    }
    SetFileAttributesW(path.c_str(), attributes);
}

void RemoveTree(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW entry{};
    if (const UniqueFindHandle find(FindFirstFileW((path + L"\\*").c_str(), &entry)); find) {
        do {
            const std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
        } while (FindNextFileW(find.get(), &entry));
    }
    RemoveDirectoryW(path.c_str());
}

std::vector<std::wstring> LinksUnder(const std::wstring& folder) {
    std::vector<std::wstring> links;
    CollectFiles(folder, L"", [](const std::wstring& name) { return EndsWith(name, L".lnk"); }, links);
    std::sort(links.begin(), links.end());
    return links;
}

std::vector<std::wstring> TemporaryFilesUnder(const std::wstring& folder) {
    std::vector<std::wstring> files;
    CollectFiles(folder, L"", [](const std::wstring& name) { return name.find(L".lnk.zoriza-") != std::wstring::npos; },
                 files);
    return files;
}

std::vector<std::wstring> EntriesIn(const std::wstring& folder) {
    std::vector<std::wstring> entries;
    WIN32_FIND_DATAW entry{};
    if (const UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &entry)); find) {
        do {
            const std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..") entries.push_back(name);
        } while (FindNextFileW(find.get(), &entry));
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

void TellStallingServer(wchar_t letter, const std::string& word) {
    const std::wstring control = std::wstring(L"C:\\stalling\\") + letter + L".control";
    const UniqueFile file(
        CreateFileW(control.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !::WriteFile(file.get(), word.data(), static_cast<DWORD>(word.size()), &written, nullptr)) {
        throw std::runtime_error("cannot write the control file of the stalling drive " +
                                 std::string(1, static_cast<char>(letter)));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
}

namespace {

constexpr wchar_t kUserShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr wchar_t kDesktopValue[] = L"Desktop";

}  // namespace

RedirectedDesktop::RedirectedDesktop(const std::wstring& folder) {
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kUserShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(),
                        nullptr) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot open the user's shell folders");
    }
    wchar_t old[MAX_PATH] = {};
    DWORD size = sizeof(old) - sizeof(wchar_t);
    if (RegQueryValueExW(key_.get(), kDesktopValue, nullptr, &oldType_, reinterpret_cast<BYTE*>(old), &size) ==
        ERROR_SUCCESS) {
        old_ = old;
    }
    if (!Set(REG_EXPAND_SZ, folder)) throw std::runtime_error("cannot redirect the Desktop");
}

// A destructor cannot fail the test: the later tests' Desktop would be the
// wrong one, and the output says why.
RedirectedDesktop::~RedirectedDesktop() {
    const bool undone = old_ ? Set(oldType_, *old_) : RegDeleteValueW(key_.get(), kDesktopValue) == ERROR_SUCCESS;
    if (!undone) std::fputs("the Desktop's redirection could not be undone\n", stderr);
}

bool RedirectedDesktop::Set(DWORD type, const std::wstring& text) {
    return RegSetValueExW(key_.get(), kDesktopValue, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace zoriza::e2e
