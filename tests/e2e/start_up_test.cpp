// Start-up on the real program: the language from the user's locale, the
// first edition, the platform options from the environment, and the choices
// the last create command saved, each restored when its control accepts it and
// passed over quietly when not. Start-up never writes a setting.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/stored_settings.h"

namespace zoriza::e2e {
namespace {

constexpr wchar_t kCatalanCaption[] = L"ZORIZA Connexió client a servidor d'aplicacions VEK";
constexpr wchar_t kSpanishCaption[] = L"ZORIZA Conexión cliente a servidor de aplicaciones VEK";
constexpr wchar_t kGalicianCaption[] = L"ZORIZA Conexom cliente a servidor de aplicaçons VEK";
constexpr wchar_t kAraneseCaption[] = L"ZORIZA Connexion client a servidor d'aplicacions VEK";

constexpr wchar_t kProgramFiles[] = L"ProgramFiles";
constexpr wchar_t kProgramFilesX86[] = L"ProgramFiles(x86)";
// Wine gives a 64-bit program this one's value as "ProgramFiles" when the
// registry names no Program Files folder.
constexpr wchar_t kProgramW6432[] = L"ProgramW6432";

using Environment = std::map<std::wstring, std::optional<std::wstring>>;

// Wine takes the user's language from the Unix locale of the whole run
// (LC_ALL), not from the environment block a program is started with, so a
// run covers the one locale it was started in.
struct LocaleCase {
    const wchar_t* locale;  // LC_ALL without its code set
    LANGID languageId;      // what Wine makes of it
    int langIndex;
    const wchar_t* caption;
};

constexpr LocaleCase kLocales[] = {
    {L"C", 0x0409, 0, kCatalanCaption},
    {L"ca_ES", 0x0403, 0, kCatalanCaption},
    {L"ca_ES@valencia", 0x0803, 0, kCatalanCaption},
    {L"gl_ES", 0x0456, 1, kGalicianCaption},
    {L"pt_BR", 0x0416, 1, kGalicianCaption},
    {L"oc_FR", 0x0482, 2, kAraneseCaption},
    {L"es_ES", 0x0C0A, 3, kSpanishCaption},
    {L"es_MX", 0x080A, 3, kSpanishCaption},
    {L"en_US", 0x0409, 0, kCatalanCaption},
};

// "gl_ES.UTF-8" as "gl_ES", "ca_ES.UTF-8@valencia" as "ca_ES@valencia".
std::wstring LocaleOfThisRun() {
    std::wstring locale = EnvironmentValue(L"LC_ALL");
    const std::size_t dot = locale.find(L'.');
    if (dot != std::wstring::npos) locale.erase(dot, locale.find(L'@', dot) - dot);
    return locale;
}

// Why a run in a locale without an expectation cannot check start-up.
std::string NoExpectationForThisLocale() {
    std::string known;
    for (const LocaleCase& row : kLocales) {
        for (const wchar_t* c = row.locale; *c != L'\0'; ++c) known += static_cast<char>(*c);
        known += ' ';
    }
    std::string locale;
    for (const wchar_t c : EnvironmentValue(L"LC_ALL")) locale += c < 0x80 ? static_cast<char>(c) : '?';
    return "no expectation for LC_ALL=" + locale + "; run in one of: " + known;
}

const LocaleCase* ThisRunsLocale() {
    const std::wstring locale = LocaleOfThisRun();
    for (const LocaleCase& row : kLocales) {
        if (locale == row.locale) return &row;
    }
    return nullptr;
}

// What start-up decides, as the window shows it.
struct WindowState {
    int lang = -1;
    std::wstring caption;
    int app = -1;
    std::wstring drive;   // the drive list's entry, letter and colon
    std::wstring folder;  // the folder list's selected entry as a full path
    std::array<bool, 3> platformChecked{};
    std::array<bool, 3> platformEnabled{};
    int icona = -1;  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE
    bool operator==(const WindowState&) const = default;
};

void PrintTo(const WindowState& state, std::ostream* out) {
    const auto narrow = [](const std::wstring& text) {
        std::string result;
        for (const wchar_t c : text) result += c < 0x80 ? static_cast<char>(c) : '?';
        return result;
    };
    const auto flags = [](const std::array<bool, 3>& values) {
        return std::string{values[0] ? '1' : '0', values[1] ? '1' : '0', values[2] ? '1' : '0'};
    };
    *out << "{lang " << state.lang << " \"" << narrow(state.caption) << "\", app " << state.app << ", drive \""
         << narrow(state.drive) << "\", folder \"" << narrow(state.folder) << "\", platform checked "
         << flags(state.platformChecked) << " enabled " << flags(state.platformEnabled) << ", icona " << state.icona
         << "}";
}

std::wstring WithoutIndent(const std::wstring& entry) { return entry.substr(entry.find_first_not_of(L' ')); }

// The folder list shows the path from the drive's root down to the selected
// folder, one entry a step, then the subfolders.
std::wstring ShownFolder(const RunningProgram& program) {
    const int selected = program.ListIndex(ControlId::Dir1);
    if (selected < 0) return L"<none selected>";
    std::wstring path = WithoutIndent(program.ListText(ControlId::Dir1, 0));
    for (int i = 1; i <= selected; ++i) {
        if (path.back() != L'\\') path += L'\\';
        path += WithoutIndent(program.ListText(ControlId::Dir1, i));
    }
    return path;
}

WindowState Read(const RunningProgram& program) {
    WindowState state;
    state.lang = program.ListIndex(ControlId::Lang);
    state.caption = program.Caption();
    state.app = program.ListIndex(ControlId::App);
    state.drive = program.ListText(ControlId::Drive1, program.ListIndex(ControlId::Drive1)).substr(0, 2);
    state.folder = ShownFolder(program);
    for (std::size_t i = 0; i < kPlatformButtons.size(); ++i) {
        state.platformChecked[i] = program.Checked(kPlatformButtons[i]);
        state.platformEnabled[i] = program.Enabled(kPlatformButtons[i]);
    }
    state.icona = program.CheckState(ControlId::Icona);
    return state;
}

// The window is up and start-up raised no message box.
::testing::AssertionResult OpenedQuietly(RunningProgram& program) {
    const auto box = program.WaitForMessageBox(program.Window() == nullptr ? 0ms : 1s);
    if (box) {
        program.CloseMessageBox();
        return ::testing::AssertionFailure()
               << "start-up showed a message box: " << ::testing::PrintToString(box->title + L"|" + box->text);
    }
    if (program.Window() == nullptr) return ::testing::AssertionFailure() << "the window never opened";
    return ::testing::AssertionSuccess();
}

// The values a create command saves for Castellano, VekCom, F:\VekPro, 32 bit
// and a greyed desktop box, and the window they give.
const std::vector<std::pair<const wchar_t*, std::wstring>> kSaved = {
    {L"Idioma", L"3"}, {L"Aplicacio", L"2"}, {L"Directori", L"F:\\VekPro"}, {L"Plataforma", L"1"}, {L"Icona0", L"2"}};

const WindowState kRestored{3,    kSpanishCaption,     2, L"f:", L"F:\\VekPro", {false, true, false}, {false, true, true},
                            BST_INDETERMINATE};

// The window of a first run, under Wine's usual environment, started in C:\.
WindowState FirstRun(const LocaleCase& locale) {
    return {locale.langIndex, locale.caption, 0, L"c:", L"C:\\", {false, false, true}, {false, true, true},
            BST_UNCHECKED};
}

void StoreAll(const std::vector<std::pair<const wchar_t*, std::wstring>>& values) {
    for (const auto& [name, text] : values) StoreText(name, text);
}

// Takes ProgramFilesDir and ProgramFilesDir (x86) out of the prefix, so that
// Wine no longer sets "ProgramFiles" and "ProgramFiles(x86)" in the programs
// it starts, and puts them back as they were when it goes.
class ProgramFilesFoldersUnregistered {
public:
    ProgramFilesFoldersUnregistered() {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key_.put()) !=
            ERROR_SUCCESS) {
            throw std::runtime_error("cannot open the Windows version key");
        }
        for (const wchar_t* name : {L"ProgramFilesDir", L"ProgramFilesDir (x86)"}) {
            Saved saved{name, 0, {}};
            DWORD size = 0;
            if (RegQueryValueExW(key_.get(), name, nullptr, &saved.type, nullptr, &size) != ERROR_SUCCESS) continue;
            saved.data.resize(size);
            RegQueryValueExW(key_.get(), name, nullptr, &saved.type, saved.data.data(), &size);
            saved_.push_back(saved);
            if (RegDeleteValueW(key_.get(), name) != ERROR_SUCCESS) {
                PutBack();
                throw std::runtime_error("cannot delete a Program Files folder value");
            }
        }
    }
    ~ProgramFilesFoldersUnregistered() { PutBack(); }
    ProgramFilesFoldersUnregistered(const ProgramFilesFoldersUnregistered&) = delete;
    ProgramFilesFoldersUnregistered& operator=(const ProgramFilesFoldersUnregistered&) = delete;

private:
    void PutBack() {
        for (const Saved& saved : saved_) {
            RegSetValueExW(key_.get(), saved.name, 0, saved.type, saved.data.data(),
                           static_cast<DWORD>(saved.data.size()));
        }
        saved_.clear();
        key_.reset();
    }

    static constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";
    struct Saved {
        const wchar_t* name;
        DWORD type;
        std::vector<BYTE> data;
    };
    UniqueRegistryKey key_;
    std::vector<Saved> saved_;
};

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        WriteFile(L"F:\\VekPro\\VEKBIN.BAT");
        RemoveTree(L"F:\\Gone");
    }
    void TearDown() override { ClearSettings(); }
    ComScope com;
};

TEST_F(StartUpTest, FirstRunFollowsTheUserLocale) {
    const LocaleCase* locale = ThisRunsLocale();
    ASSERT_NE(locale, nullptr) << NoExpectationForThisLocale();
    ASSERT_EQ(GetUserDefaultLangID(), locale->languageId) << "Wine did not take the language from LC_ALL";
    RunningProgram program;
    ASSERT_TRUE(OpenedQuietly(program));
    EXPECT_EQ(Read(program), FirstRun(*locale));
    EXPECT_EQ(program.ListText(ControlId::Lang, locale->langIndex),
              kLanguageNames[static_cast<std::size_t>(locale->langIndex)]);
    program.PressKey(ControlId::Lang, VK_ESCAPE);
    EXPECT_TRUE(program.WaitForExit());
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(StartUpTest, PlatformOptionsFollowThisWindows) {
    const std::array<bool, 3> enabled = On32BitWindows() ? std::array{true, true, false} : std::array{false, true, true};
    const std::array<bool, 3> checked = On32BitWindows() ? std::array{false, true, false} : std::array{false, false, true};
    RunningProgram program;
    ASSERT_TRUE(OpenedQuietly(program));
    const WindowState state = Read(program);
    EXPECT_EQ(state.platformEnabled, enabled);
    EXPECT_EQ(state.platformChecked, checked);
}

// The variables as a 64-bit Windows could not give them, imitated.
TEST_F(StartUpTest, PlatformOptionsFollowTheProgramFilesVariables) {
    struct Options {
        std::array<bool, 3> enabled;
        std::array<bool, 3> checked;
    };
    struct Case {
        const char* description;
        Environment environment;
        bool unregisterFolders;  // else Wine sets "ProgramFiles" from the registry whatever the environment says
        Options options;
        std::optional<Options> as32BitProgram;  // where 64-bit Windows makes "ProgramFiles" differ for one
    };
    const Case cases[] = {
        {"ProgramFiles(x86) empty", {{kProgramFilesX86, L""}}, false, {{true, true, false}, {false, true, false}},
         Options{{true, false, false}, {true, false, false}}},
        {"only ProgramFiles", {{kProgramFilesX86, std::nullopt}}, false, {{true, true, false}, {false, true, false}}, {}},
        {"only ProgramFiles(x86)", {{kProgramFiles, std::nullopt}, {kProgramW6432, std::nullopt}}, true,
         {{false, true, true}, {false, false, true}}, {}},
        {"neither", {{kProgramFiles, std::nullopt}, {kProgramW6432, std::nullopt}, {kProgramFilesX86, std::nullopt}},
         true, {{true, false, false}, {true, false, false}}, {}},
        {"both empty", {{kProgramFiles, L""}, {kProgramW6432, L""}, {kProgramFilesX86, L""}}, true,
         {{true, false, false}, {true, false, false}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        std::optional<ProgramFilesFoldersUnregistered> unregistered;
        if (c.unregisterFolders) unregistered.emplace();
        RunningProgram program({L"C:\\", c.environment});
        ASSERT_TRUE(OpenedQuietly(program));
        const WindowState state = Read(program);
        const Options& expected = As32BitProgramOn64BitWindows() && c.as32BitProgram ? *c.as32BitProgram : c.options;
        EXPECT_EQ(state.platformEnabled, expected.enabled);
        EXPECT_EQ(state.platformChecked, expected.checked);
        EXPECT_FALSE(SettingsKeyExists());
    }
}

TEST_F(StartUpTest, SavedChoicesAreRestored) {
    StoreAll(kSaved);
    const StoredSettings before = StoredNow();
    RunningProgram program;
    ASSERT_TRUE(OpenedQuietly(program));
    EXPECT_EQ(Read(program), kRestored);
    EXPECT_EQ(program.ListText(ControlId::Dir1, 0), L"F:\\");
    EXPECT_EQ(program.Text(ControlId::Frame3), L"Iconos adicionales");  // the whole window in Castellano
    EXPECT_TRUE(Unchanged(before));
}

TEST_F(StartUpTest, ChoicesOfACreateCommandComeBackAtTheNextStart) {
    struct CleanUp {
        ~CleanUp() {
            RemoveTree(ProgramsFolder() + L"\\VekCom");
            DeleteFileW((DesktopFolder() + L"\\VekCom Comercial.lnk").c_str());
        }
    } cleanUp;
    {
        RunningProgram program;
        ASSERT_TRUE(OpenedQuietly(program));
        program.SelectListEntry(ControlId::Lang, 3);
        program.SelectListEntry(ControlId::App, 2);
        program.Click(ControlId::Platform1);
        ASSERT_TRUE(program.WaitUntil([&] { return program.Checked(ControlId::Platform1); }));
        program.Click(ControlId::Icona);
        ASSERT_TRUE(program.WaitUntil([&] { return program.Checked(ControlId::Icona); }));
        ASSERT_TRUE(program.MoveToServerFolder(L'f', L"VekPro"));
        program.Click(ControlId::Intro);
        const auto report = program.WaitForMessageBox(20s);
        ASSERT_TRUE(report.has_value());
        program.CloseMessageBox();
        ASSERT_EQ(report->title, L"ZORIZA") << ::testing::PrintToString(report->text);
        ASSERT_FALSE(report->errorIcon) << ::testing::PrintToString(report->text);
        program.PressKey(ControlId::Intro, VK_ESCAPE);
        ASSERT_TRUE(program.WaitForExit());
    }
    const StoredSettings saved = StoredNow();
    RunningProgram program;
    ASSERT_TRUE(OpenedQuietly(program));
    EXPECT_EQ(Read(program),
              (WindowState{3, kSpanishCaption, 2, L"f:", L"F:\\VekPro", {false, true, false}, {false, true, true},
                           BST_CHECKED}));
    EXPECT_TRUE(Unchanged(saved));
}

TEST_F(StartUpTest, AnEmptyOrRejectedValueIsPassedOverAndTheRestAreRestored) {
    const LocaleCase* locale = ThisRunsLocale();
    ASSERT_NE(locale, nullptr) << NoExpectationForThisLocale();
    const WindowState firstRun = FirstRun(*locale);
    struct Case {
        const wchar_t* setting;
        const wchar_t* text;
        void (*keepsStartUpState)(WindowState& expected, const WindowState& firstRun);
    };
    const auto language = [](WindowState& e, const WindowState& f) {
        e.lang = f.lang;
        e.caption = f.caption;
    };
    const auto edition = [](WindowState& e, const WindowState& f) { e.app = f.app; };
    const auto folder = [](WindowState& e, const WindowState& f) {
        e.drive = f.drive;
        e.folder = f.folder;
    };
    const auto platform = [](WindowState& e, const WindowState& f) { e.platformChecked = f.platformChecked; };
    const auto icon = [](WindowState& e, const WindowState& f) { e.icona = f.icona; };
    const Case cases[] = {
        {L"Idioma", L"4", language},                // past the last language
        {L"Aplicacio", L"4", edition},              // past the last edition
        {L"Directori", L"H:\\VekPro", folder},      // no such drive
        {L"Directori", L"D:\\VekPro", folder},      // a drive whose target is gone
        {L"Directori", L"F:\\Gone", folder},        // a folder that is gone
        {L"Plataforma", L"32768", platform},        // not a 16-bit number
        {L"Plataforma", L"3", platform},            // no such option
        {L"Plataforma", L"", platform},             // empty: nothing saved, so not 16 bit
        {L"Icona0", L"3", icon},                    // not a check box state
    };
    ASSERT_EQ((GetLogicalDrives() >> (L'h' - L'a')) & 1, 0u) << "h: must be absent";
    ASSERT_NE((GetLogicalDrives() >> (L'd' - L'a')) & 1, 0u) << "d: must be listed";
    ASSERT_FALSE(FolderExists(L"D:\\"));
    ASSERT_TRUE(FolderExists(L"F:\\VekPro"));
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.setting) + L"=" + c.text));
        ClearSettings();
        StoreAll(kSaved);
        StoreText(c.setting, c.text);
        const StoredSettings before = StoredNow();
        WindowState expected = kRestored;
        c.keepsStartUpState(expected, firstRun);
        RunningProgram program;
        ASSERT_TRUE(OpenedQuietly(program));
        EXPECT_EQ(Read(program), expected);
        EXPECT_TRUE(Unchanged(before));
    }
}

TEST_F(StartUpTest, ASavedPlatformIsSelectedEvenWhenThisWindowsLacksIt) {
    const ProgramFilesFoldersUnregistered unregistered;
    const Environment sixteenBitWindows = {
        {kProgramFiles, std::nullopt}, {kProgramW6432, std::nullopt}, {kProgramFilesX86, std::nullopt}};
    struct Case {
        const wchar_t* saved;
        std::array<bool, 3> checked;
    };
    const Case cases[] = {{L"2", {false, false, true}}, {L"1", {false, true, false}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.saved)));
        ClearSettings();
        StoreText(L"Plataforma", c.saved);
        const StoredSettings before = StoredNow();
        RunningProgram program({L"C:\\", sixteenBitWindows});
        ASSERT_TRUE(OpenedQuietly(program));
        const WindowState state = Read(program);
        EXPECT_EQ(state.platformChecked, c.checked);
        EXPECT_EQ(state.platformEnabled, (std::array<bool, 3>{true, false, false}));
        EXPECT_TRUE(Unchanged(before));
    }
}

}  // namespace
}  // namespace zoriza::e2e
