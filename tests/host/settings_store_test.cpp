#include <gtest/gtest.h>

#include <functional>

#include "tests/memory_platform/memory_registry.h"
#include "settings/settings_store.h"

namespace zoriza {
namespace {

TEST(TrimChar, StripsOneCharacterFromBothEndsOnly) {
    const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*> cases[] = {
        {L"\\\\a\\b\\\\", L"\\", L"a\\b"}, {L"\\\\\\", L"\\", L""}, {L"", L"\\", L""},
        {L"a", L"\\", L"a"},               {L"xaxbx", L"xyz", L"axb"}, {L"\\a", L"\\", L"a"},
        {L"A\\", L"\\", L"A"},             {L"/a/", L"\\", L"/a/"},
    };
    for (const auto& [text, character, expected] : cases) EXPECT_EQ(TrimChar(text, character), expected);
}

RegistryKey Created(Registry& registry, const std::wstring& path) {
    RegistryKey key;
    EXPECT_EQ(registry.CreateKey(kHkeyCurrentUser, path, key), kRegistrySuccess);
    return key;
}

bool Writes(Registry& registry, const RegistryKey& key) {
    const std::uint8_t empty[] = {0, 0};
    return registry.SetValue(key, kLanguageSetting, kRegSz, empty) == kRegistrySuccess;
}

// Whatever its owners do, each key is closed once, and the owner that holds
// it last can still use it.
TEST(RegistryKey, EachKeyIsClosedExactlyOnce) {
    const std::pair<const char*, std::function<void(Registry&)>> cases[] = {
        {"moved into a new owner",
         [](Registry& r) {
             RegistryKey first = Created(r, kSettingsKey);
             const RegistryKey second(std::move(first));
             EXPECT_TRUE(Writes(r, second));
             EXPECT_FALSE(Writes(r, first));
         }},
        {"moved onto an owner holding another key",
         [](Registry& r) {
             RegistryKey first = Created(r, kSettingsKey);
             RegistryKey second = Created(r, L"Software\\Other");
             second = std::move(first);
             EXPECT_TRUE(Writes(r, second));
         }},
        {"opened again into the same owner",
         [](Registry& r) {
             RegistryKey key = Created(r, kSettingsKey);
             EXPECT_EQ(r.OpenKey(kHkeyCurrentUser, kSettingsKey, kKeyWrite, key), kRegistrySuccess);
             EXPECT_TRUE(Writes(r, key));
         }},
        {"closed before it goes out of scope",
         [](Registry& r) {
             RegistryKey key = Created(r, kSettingsKey);
             EXPECT_EQ(key.Close(), kRegistrySuccess);
             EXPECT_FALSE(Writes(r, key));
             EXPECT_EQ(key.Close(), kRegistrySuccess);
         }},
    };
    for (const auto& [name, use] : cases) {
        MemoryRegistry registry;
        use(registry);
        EXPECT_EQ(registry.OpenHandles(), 0u) << name;
        EXPECT_EQ(registry.StrayCloses(), 0u) << name;
    }
}

class SettingsStoreTest : public ::testing::Test {
protected:
    std::wstring Get(const std::wstring& name, const std::wstring& key = kSettingsKey) {
        return RegGetString(registry, kDefaultRoot, key, name);
    }
    bool Set(const std::wstring& name, const std::wstring& text, const std::wstring& key = kSettingsKey) {
        return RegSetString(registry, kDefaultRoot, key, name, text);
    }

    MemoryRegistry registry;
};

TEST_F(SettingsStoreTest, NothingSavedReadsEmptyForEveryValue) {
    for (const wchar_t* name : {kLanguageSetting, kEditionSetting, kFolderSetting, kPlatformSetting,
                                kDesktopIconSetting}) {
        EXPECT_EQ(Get(name), L"");
    }
    EXPECT_EQ(registry.OpenHandles(), 0u);
}

TEST_F(SettingsStoreTest, WritingCreatesTheKeyAndStoresStringWithTerminator) {
    EXPECT_TRUE(Set(kLanguageSetting, L"2"));
    ASSERT_TRUE(registry.KeyExists(kSettingsKey));
    const MemoryRegistry::Value* value = registry.Find(kSettingsKey, kLanguageSetting);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, kRegSz);
    EXPECT_EQ(value->data, (std::vector<std::uint8_t>{'2', 0, 0, 0}));
    EXPECT_EQ(Get(kLanguageSetting), L"2");

    EXPECT_TRUE(Set(kEditionSetting, L""));
    EXPECT_EQ(registry.Find(kSettingsKey, kEditionSetting)->data, (std::vector<std::uint8_t>{0, 0}));
    EXPECT_EQ(Get(kEditionSetting), L"");
    EXPECT_EQ(registry.OpenHandles(), 0u);
}

// The longest folder path a setting can hold reads back; a larger value is
// passed over as unreadable, whatever its size.
TEST_F(SettingsStoreTest, AValueLongerThanAnySettingIsNotRead) {
    const std::wstring longest = L"F:\\" + std::wstring(32 * 1024 - 3, L'd');
    registry.PutText(kSettingsKey, kFolderSetting, longest);
    EXPECT_EQ(Get(kFolderSetting), longest);
    for (const std::size_t length : {32u * 1024 + 1, 64u * 1024, 4u * 1024 * 1024}) {
        registry.PutText(kSettingsKey, kFolderSetting, std::wstring(length, L'7'));
        EXPECT_EQ(Get(kFolderSetting), L"") << length;
    }
    EXPECT_EQ(registry.OpenHandles(), 0u);
}

TEST_F(SettingsStoreTest, BackslashesAroundKeyAndNameAddressTheSameValue) {
    EXPECT_TRUE(Set(L"\\Idioma", L"3", L"\\Software\\Ruvo Software\\ZorIza\\"));
    EXPECT_EQ(Get(kLanguageSetting), L"3");
    EXPECT_EQ(Get(L"\\\\Idioma\\", L"\\\\Software\\Ruvo Software\\ZorIza"), L"3");
}

TEST_F(SettingsStoreTest, TextOutsideTheAnsiCodePageRoundTrips) {
    const std::wstring folder = L"F:\\Δοκιμή\\Сервер\\VekPro";
    EXPECT_TRUE(Set(kFolderSetting, folder));
    EXPECT_EQ(Get(kFolderSetting), folder);
}

TEST_F(SettingsStoreTest, OtherTypesReadAsAnsiTextUpToTheFirstZeroByte) {
    registry.Put(kSettingsKey, kPlatformSetting, {kRegDword, {1, 0, 0, 0}});
    EXPECT_EQ(Get(kPlatformSetting), L"\x01");
    registry.Put(kSettingsKey, kEditionSetting, {kRegBinary, {'2', 'x', 0, '3'}});
    EXPECT_EQ(Get(kEditionSetting), L"2x");
    registry.Put(kSettingsKey, kDesktopIconSetting, {kRegBinary, {0xE9, '1'}});
    EXPECT_EQ(Get(kDesktopIconSetting), L"\xE9"
                                         L"1");
}

TEST_F(SettingsStoreTest, StringWithAZeroInTheMiddleReadsUpToIt) {
    registry.Put(kSettingsKey, kFolderSetting, {kRegSz, {'F', 0, ':', 0, 0, 0, 'X', 0, 0, 0}});
    EXPECT_EQ(Get(kFolderSetting), L"F:");
}

TEST_F(SettingsStoreTest, AnOddByteAtTheEndIsNotHalfACharacter) {
    registry.Put(kSettingsKey, kFolderSetting, {kRegSz, {'F', 0, ':', 0, 'X'}});
    EXPECT_EQ(Get(kFolderSetting), L"F:");
}

TEST_F(SettingsStoreTest, AFailedDataQueryReadsEmptyNotBlanks) {
    registry.PutText(kSettingsKey, kFolderSetting, L"F:\\VekPro");
    registry.FailDataQueries(true);
    EXPECT_EQ(Get(kFolderSetting), L"");
    EXPECT_EQ(registry.OpenHandles(), 0u);
}

TEST_F(SettingsStoreTest, AValueThatGrowsBetweenTheQueriesIsReadAgainWhole) {
    registry.PutText(kSettingsKey, kFolderSetting, L"F:\\A");
    registry.BetweenQueries([this] { registry.PutText(kSettingsKey, kFolderSetting, L"F:\\VekPro\\Longer"); });
    EXPECT_EQ(Get(kFolderSetting), L"F:\\VekPro\\Longer");
    EXPECT_EQ(registry.OpenHandles(), 0u);
}

TEST_F(SettingsStoreTest, AKeyThatCannotBeOpenedIsNeitherReadNorCreated) {
    registry.DenyOpen(kSettingsKey);
    EXPECT_FALSE(Set(kLanguageSetting, L"1"));
    EXPECT_FALSE(registry.KeyExists(kSettingsKey));
    EXPECT_EQ(Get(kLanguageSetting), L"");
    EXPECT_EQ(registry.OpenHandles(), 0u);
}

TEST_F(SettingsStoreTest, AFailedWriteAnswersFalseAndClosesTheKey) {
    registry.FailWrites(true);
    EXPECT_FALSE(Set(kLanguageSetting, L"1"));
    EXPECT_EQ(registry.OpenHandles(), 0u);
}

TEST_F(SettingsStoreTest, ALaterWriteReplacesTheEarlierText) {
    EXPECT_TRUE(Set(kFolderSetting, L"F:\\VekPro\\Long folder name"));
    EXPECT_TRUE(Set(kFolderSetting, L"G:\\"));
    EXPECT_EQ(Get(kFolderSetting), L"G:\\");
}

}  // namespace
}  // namespace zoriza
