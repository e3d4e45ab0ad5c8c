// The settings store on the prefix's real registry: what is stored, in which
// form, and what other writers and readers of the same key see.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_registry.h"
#include "settings/settings_store.h"

namespace zoriza {
namespace {

constexpr wchar_t kVendorKey[] = L"Software\\Ruvo Software";

struct RawValue {
    LSTATUS status = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

// The value exactly as advapi32 holds it, read past the code under test.
RawValue ReadRaw(const wchar_t* name) {
    RawValue value;
    UniqueRegistryKey key;
    value.status = RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, key.put());
    if (value.status != ERROR_SUCCESS) return value;
    DWORD size = 0;
    value.status = RegQueryValueExW(key.get(), name, nullptr, &value.type, nullptr, &size);
    if (value.status == ERROR_SUCCESS) {
        value.bytes.resize(size);
        value.status = RegQueryValueExW(key.get(), name, nullptr, &value.type, value.bytes.data(), &size);
        value.bytes.resize(size);
    }
    return value;
}

// Writes one value with another writer than the store's own.
void WriteRaw(const wchar_t* name, DWORD type, const std::vector<BYTE>& bytes) {
    UniqueRegistryKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                              nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key.get(), name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

bool KeyExists(const wchar_t* path) {
    UniqueRegistryKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS;
}

// Runs `command` in this prefix and answers what it wrote on its standard
// output; `exitCode` receives its exit status.
std::string RunCapturingOutput(std::wstring command, DWORD& exitCode) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    UniqueHandle readEnd;
    UniqueHandle writeEnd;
    if (!CreatePipe(readEnd.put(), writeEnd.put(), &inherit, 0)) return {};
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &info);
    // Our copy of the write end goes, so that the read below ends with the child.
    writeEnd.reset();
    std::string output;
    if (started) {
        const UniqueProcess process(info);
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(readEnd.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
            output.append(buffer, read);
        }
        WaitForSingleObject(process.process.get(), 30000);
        GetExitCodeProcess(process.process.get(), &exitCode);
    }
    return output;
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey); }

    std::wstring Get(const std::wstring& name, const std::wstring& key = kSettingsKey) {
        return RegGetString(registry, kDefaultRoot, key, name);
    }
    bool Set(const std::wstring& name, const std::wstring& text, const std::wstring& key = kSettingsKey) {
        return RegSetString(registry, kDefaultRoot, key, name, text);
    }

    Win32Registry registry;
};

struct Setting {
    const wchar_t* name;
    const wchar_t* text;
};

constexpr Setting kSavedChoices[] = {{kLanguageSetting, L"2"},
                                     {kEditionSetting, L"1"},
                                     {kFolderSetting, L"F:\\VekPro"},
                                     {kPlatformSetting, L"0"},
                                     {kDesktopIconSetting, L"-1"}};

TEST_F(RegistryTest, TheFiveSettingsAreWrittenUnderANewKeyAndReadBack) {
    ASSERT_FALSE(KeyExists(kVendorKey));
    for (const Setting& setting : kSavedChoices) EXPECT_EQ(Get(setting.name), L"") << setting.name;
    EXPECT_FALSE(KeyExists(kVendorKey)) << "reading must not create the key";

    for (const Setting& setting : kSavedChoices) EXPECT_TRUE(Set(setting.name, setting.text)) << setting.name;
    EXPECT_TRUE(KeyExists(kSettingsKey));
    for (const Setting& setting : kSavedChoices) {
        EXPECT_EQ(Get(setting.name), setting.text) << setting.name;
        EXPECT_EQ(ReadRaw(setting.name).type, static_cast<DWORD>(REG_SZ)) << setting.name;
    }
}

TEST_F(RegistryTest, StoredAsRegSzWithItsTerminatingZero) {
    const std::pair<const wchar_t*, std::vector<BYTE>> cases[] = {
        {L"2", {'2', 0, 0, 0}},
        {L"", {0, 0}},
        {L"F:\\", {'F', 0, ':', 0, '\\', 0, 0, 0}},
    };
    for (const auto& [text, bytes] : cases) {
        ASSERT_TRUE(Set(kLanguageSetting, text));
        const RawValue raw = ReadRaw(kLanguageSetting);
        ASSERT_EQ(raw.status, ERROR_SUCCESS) << text;
        EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ)) << text;
        EXPECT_EQ(raw.bytes, bytes) << text;
    }
}

TEST_F(RegistryTest, BackslashesAroundKeyAndNameAddressTheSameValue) {
    ASSERT_TRUE(Set(L"\\Idioma\\", L"3", L"\\Software\\Ruvo Software\\ZorIza\\"));
    const RawValue raw = ReadRaw(kLanguageSetting);
    ASSERT_EQ(raw.status, ERROR_SUCCESS) << "the value is stored under its bare name";
    EXPECT_EQ(raw.bytes, (std::vector<BYTE>{'3', 0, 0, 0}));
    EXPECT_EQ(ReadRaw(L"\\Idioma\\").status, ERROR_FILE_NOT_FOUND);

    for (const auto& [key, name] : {std::pair{L"\\\\Software\\Ruvo Software\\ZorIza", L"\\\\Idioma"},
                                    std::pair{L"Software\\Ruvo Software\\ZorIza\\", L"Idioma\\"},
                                    std::pair{L"Software\\Ruvo Software\\ZorIza", L"Idioma"}}) {
        EXPECT_EQ(Get(name, key), L"3") << key << L" " << name;
    }
}

TEST_F(RegistryTest, ValuesOfOtherWritersAndTypesReadAsText) {
    WriteRaw(kPlatformSetting, REG_DWORD, {1, 0, 0, 0});
    WriteRaw(kEditionSetting, REG_BINARY, {'2', 'x', 0, '3'});
    EXPECT_EQ(Get(kPlatformSetting), L"\x01");
    EXPECT_EQ(Get(kEditionSetting), L"2x");

    // An ANSI writer: the system converts from the ANSI code page on the way in.
    UniqueRegistryKey key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ruvo Software\\ZorIza", 0, KEY_SET_VALUE, key.put()),
              ERROR_SUCCESS);
    const char folder[] = "F:\\VekPro";
    EXPECT_EQ(RegSetValueExA(key.get(), "Directori", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder), sizeof(folder)),
              ERROR_SUCCESS);
    // "Gestió" in the ANSI code page, whichever that is here.
    const std::wstring accented = L"F:\\Gesti\u00f3";
    char ansi[32] = {};
    const int length = WideCharToMultiByte(CP_ACP, 0, accented.c_str(), -1, ansi, sizeof(ansi), nullptr, nullptr);
    ASSERT_GT(length, 0);
    EXPECT_EQ(RegSetValueExA(key.get(), "Icona0", 0, REG_SZ, reinterpret_cast<const BYTE*>(ansi),
                             static_cast<DWORD>(length)),
              ERROR_SUCCESS);
    key.reset();
    EXPECT_EQ(Get(kFolderSetting), L"F:\\VekPro");
    EXPECT_EQ(Get(kDesktopIconSetting), accented);
}

TEST_F(RegistryTest, AFolderOutsideTheAnsiCodePageRoundTripsExactly) {
    const std::wstring folder = L"F:\\\u0394\u03bf\u03ba\u03b9\u03bc\u03ae\\\u0421\u0435\u0440\u0432\u0435\u0440";
    ASSERT_TRUE(Set(kFolderSetting, folder));
    EXPECT_EQ(Get(kFolderSetting), folder);
    // And another wide reader sees the same characters.
    wchar_t stored[64] = {};
    DWORD size = sizeof(stored);
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, kFolderSetting, RRF_RT_REG_SZ, nullptr, stored, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(stored), folder);
    EXPECT_EQ(size, (folder.size() + 1) * sizeof(wchar_t));
}

TEST_F(RegistryTest, AMissingValueOrKeyReadsEmpty) {
    EXPECT_EQ(Get(kFolderSetting), L"");
    ASSERT_TRUE(Set(kLanguageSetting, L"1"));
    EXPECT_EQ(Get(kFolderSetting), L"");
    EXPECT_EQ(Get(L"NoSuchValue"), L"");
    EXPECT_EQ(Get(kLanguageSetting, L"Software\\Ruvo Software\\NoSuchKey"), L"");
}

TEST_F(RegistryTest, RegExeListsTheWrittenValues) {
    for (const Setting& setting : kSavedChoices) ASSERT_TRUE(Set(setting.name, setting.text));
    DWORD exitCode = 99;
    const std::string output = RunCapturingOutput(L"reg.exe query \"HKCU\\Software\\Ruvo Software\\ZorIza\"", exitCode);
    EXPECT_EQ(exitCode, 0u) << output;
    EXPECT_NE(output.find("HKEY_CURRENT_USER\\Software\\Ruvo Software\\ZorIza"), std::string::npos) << output;
    for (const char* line : {"    Idioma    REG_SZ    2\r\n", "    Aplicacio    REG_SZ    1\r\n",
                             "    Directori    REG_SZ    F:\\VekPro\r\n", "    Plataforma    REG_SZ    0\r\n",
                             "    Icona0    REG_SZ    -1\r\n"}) {
        EXPECT_NE(output.find(line), std::string::npos) << line << "in\n" << output;
    }

    exitCode = 99;
    const std::string one = RunCapturingOutput(
        L"reg.exe query \"HKCU\\Software\\Ruvo Software\\ZorIza\" /v Directori", exitCode);
    EXPECT_EQ(exitCode, 0u) << one;
    EXPECT_NE(one.find("Directori    REG_SZ    F:\\VekPro"), std::string::npos) << one;
    EXPECT_EQ(one.find("Idioma"), std::string::npos) << one;
}

}  // namespace
}  // namespace zoriza
