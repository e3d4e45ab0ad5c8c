// Start-up against saved values nobody should have written: wrong types,
// texts that are not numbers, numbers out of range, huge values, embedded
// zeros, and folders that cannot be reached. One value at a time is hostile,
// the other four are valid. Every start the window opens without a message
// box, the four valid values are restored, the hostile one is either read as
// the saved-number rules give or passed over, and nothing stored changes.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/stored_settings.h"

namespace zoriza::e2e {
namespace {

constexpr wchar_t kGreekFolder[] = L"F:\\Ελληνικά";

// ---- Stored data as the registry holds it --------------------------------

struct Data {
    DWORD type;
    std::vector<BYTE> bytes;
};

// UTF-16 text, `text` exactly as given (zeros inside included), then a terminator.
Data Utf16(DWORD type, const std::wstring& text) {
    Data data{type, {}};
    for (const wchar_t unit : text) {
        data.bytes.push_back(static_cast<BYTE>(unit & 0xFF));
        data.bytes.push_back(static_cast<BYTE>(unit >> 8));
    }
    data.bytes.push_back(0);
    data.bytes.push_back(0);
    return data;
}
Data Sz(const std::wstring& text) { return Utf16(REG_SZ, text); }
Data ExpandSz(const std::wstring& text) { return Utf16(REG_EXPAND_SZ, text); }
Data NoData() { return {REG_SZ, {}}; }
Data Binary(const std::string& bytes) { return {REG_BINARY, std::vector<BYTE>(bytes.begin(), bytes.end())}; }
Data Dword(DWORD value) {
    return {REG_DWORD, {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                        static_cast<BYTE>(value >> 24)}};
}

constexpr std::size_t k64KiB = 64 * 1024;
const std::wstring kNines(k64KiB, L'9');
// The longest text a setting can hold (32 KiB), and a longer one: a stored
// value larger than any setting is passed over however it would read.
constexpr std::size_t k32KiB = 32 * 1024;
const std::wstring kLongestZerosThenOne = std::wstring(k32KiB - 1, L'0') + L'1';
const std::wstring kZerosThenOne = std::wstring(k64KiB - 1, L'0') + L'1';

// ---- What each start should show --------------------------------------------

// How many hostile values each table holds; docs/reliability.md gives these
// counts (20 for each of the four numeric settings, 23 folders: 103 starts).
constexpr std::size_t kNumericValues = 20;
constexpr std::size_t kFolderValues = 23;

// A saved number either comes through as this number or is passed over.
using Number = std::optional<int>;
constexpr Number kPassedOver = std::nullopt;

// A hostile value for each of the four numeric settings, with what each of
// them should do with it.
struct NumberRow {
    const char* what;
    Data data;
    Number idioma, aplicacio, plataforma, icona;
};

// Reading rules: a string type is read as UTF-16 up to its first zero; any
// other type as ANSI text up to its first zero byte; an empty text is "nothing
// saved". Blanks are skipped, the leading number is taken (0 when there is
// none), rounded half to even; outside 16 bits is an overflow and passed over.
// Then the control: 4 languages and 4 editions (0-3), 3 platforms and 3 check
// states (0-2); anything else it rejects and the value is passed over.
const std::vector<NumberRow>& NumberRows() {
    static const std::vector<NumberRow> rows = {
        {"REG_SZ without data", NoData(), kPassedOver, kPassedOver, kPassedOver, kPassedOver},
        {"empty text", Sz(L""), kPassedOver, kPassedOver, kPassedOver, kPassedOver},
        {"letters", Sz(L"abc"), 0, 0, 0, 0},
        {"blanks only", Sz(L"  \t "), 0, 0, 0, 0},
        {"blanks then 3", Sz(L"  3"), 3, 3, kPassedOver, kPassedOver},
        {"2.5 (half to even: 2)", Sz(L"2.5"), 2, 2, 2, 2},
        {"3.5 (half to even: 4)", Sz(L"3.5"), kPassedOver, kPassedOver, kPassedOver, kPassedOver},
        {"-1", Sz(L"-1"), kPassedOver, kPassedOver, kPassedOver, kPassedOver},
        {"4", Sz(L"4"), kPassedOver, kPassedOver, kPassedOver, kPassedOver},
        {"32768", Sz(L"32768"), kPassedOver, kPassedOver, kPassedOver, kPassedOver},
        {"-32769", Sz(L"-32769"), kPassedOver, kPassedOver, kPassedOver, kPassedOver},
        {"64 KiB of nines", Sz(kNines), kPassedOver, kPassedOver, kPassedOver, kPassedOver},
        {"32 KiB of zeros ending in 1", Sz(kLongestZerosThenOne), 1, 1, 1, 1},
        {"64 KiB of zeros ending in 1", Sz(kZerosThenOne), kPassedOver, kPassedOver, kPassedOver, kPassedOver},
        {"a zero inside: 1\\0 2", Sz(std::wstring(L"1\0 2", 4)), 1, 1, 1, 1},
        {"Greek letters", Sz(L"Ελληνικά"), 0, 0, 0, 0},
        {"REG_DWORD 1 (its bytes as text: \\x01)", Dword(1), 0, 0, 0, 0},
        {"REG_BINARY 2\\0", Binary(std::string("2\0", 2)), 2, 2, 2, 2},
        {"REG_BINARY 1\\0", Binary(std::string("1\0", 2)), 1, 1, 1, 1},
        {"REG_EXPAND_SZ 2", ExpandSz(L"2"), 2, 2, 2, 2},
    };
    return rows;
}

// A hostile folder: restored as this folder, or passed over.
using Folder = std::optional<std::wstring>;
const Folder kNotRestored = std::nullopt;

struct FolderRow {
    const char* what;
    Data data;
    Folder folder;
};

// The folder is read with the same text rules; the drive list must know its
// first two characters as a drive and the folder list must be able to show it.
const std::vector<FolderRow>& FolderRows() {
    static const std::vector<FolderRow> rows = {
        {"REG_SZ without data", NoData(), kNotRestored},
        {"empty text", Sz(L""), kNotRestored},
        {"letters", Sz(L"abc"), kNotRestored},
        {"blanks only", Sz(L"  \t "), kNotRestored},
        {"2.5", Sz(L"2.5"), kNotRestored},
        {"3.5", Sz(L"3.5"), kNotRestored},
        {"-1", Sz(L"-1"), kNotRestored},
        {"4", Sz(L"4"), kNotRestored},
        {"32768", Sz(L"32768"), kNotRestored},
        {"-32769", Sz(L"-32769"), kNotRestored},
        {"64 KiB of nines", Sz(kNines), kNotRestored},
        {"a zero inside: 1\\0 2", Sz(std::wstring(L"1\0 2", 4)), kNotRestored},
        {"a zero after the folder", Sz(std::wstring(L"F:\\VekPro\0G:\\", 13)), Folder(L"F:\\VekPro")},
        {"Greek folder name", Sz(kGreekFolder), Folder(kGreekFolder)},
        {"REG_DWORD 1", Dword(1), kNotRestored},
        {"REG_BINARY F:\\VekPro\\0", Binary(std::string("F:\\VekPro\0", 10)), Folder(L"F:\\VekPro")},
        {"REG_EXPAND_SZ F:\\VekPro", ExpandSz(L"F:\\VekPro"), Folder(L"F:\\VekPro")},
        {"REG_EXPAND_SZ %SystemDrive%\\windows (not expanded)", ExpandSz(L"%SystemDrive%\\windows"), kNotRestored},
        {"UNC path", Sz(L"\\\\server\\share\\VekPro"), kNotRestored},
        {"absent drive H:", Sz(L"H:\\VekPro"), kNotRestored},
        {"not-ready drive N:", Sz(L"N:\\VekPro"), kNotRestored},
        {"folder that is gone", Sz(L"F:\\Gone"), kNotRestored},
        {"a file, not a folder", Sz(L"F:\\VekPro\\VEKBIN.BAT"), kNotRestored},
    };
    return rows;
}

// The four valid values stored with each hostile one.
const std::vector<std::pair<const wchar_t*, std::wstring>> kValid = {
    {kIdioma, L"1"}, {kAplicacio, L"3"}, {kDirectori, L"F:\\VekPro"}, {kPlataforma, L"1"}, {kIcona, L"1"}};

std::string Narrow(const std::wstring& text) {
    std::string result;
    for (const wchar_t c : text) result += c < 0x80 ? static_cast<char>(c) : '?';
    return result;
}

struct WindowState {
    int lang = -1;
    int app = -1;
    std::wstring drive;   // the drive list's entry: letter and colon
    std::wstring folder;  // the folder list's selected entry as a full path
    std::array<bool, 3> platform{};
    int icona = -1;
    bool operator==(const WindowState&) const = default;
};

void PrintTo(const WindowState& state, std::ostream* out) {
    *out << "{lang " << state.lang << ", app " << state.app << ", drive " << Narrow(state.drive) << ", folder \""
         << Narrow(state.folder) << "\", platform " << state.platform[0]
         << state.platform[1] << state.platform[2] << ", icona " << state.icona << "}";
}

std::wstring WithoutIndent(const std::wstring& entry) {
    const std::size_t first = entry.find_first_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : entry.substr(first);
}

// The folder list shows the drive's root, then one entry a step down to the
// selected folder: the path is read back from those entries.
std::wstring ShownFolder(const RunningProgram& program) {
    const int selected = program.ListIndex(ControlId::Dir1);
    if (selected < 0) return L"<none selected>";
    std::wstring path = WithoutIndent(program.ListText(ControlId::Dir1, 0));
    for (int i = 1; i <= selected; ++i) {
        if (!path.empty() && path.back() != L'\\') path += L'\\';
        path += WithoutIndent(program.ListText(ControlId::Dir1, i));
    }
    return path;
}

WindowState Read(const RunningProgram& program) {
    WindowState state;
    state.lang = program.ListIndex(ControlId::Lang);
    state.app = program.ListIndex(ControlId::App);
    state.drive = program.ListText(ControlId::Drive1, program.ListIndex(ControlId::Drive1)).substr(0, 2);
    state.folder = ShownFolder(program);
    for (std::size_t i = 0; i < kPlatformButtons.size(); ++i) state.platform[i] = program.Checked(kPlatformButtons[i]);
    state.icona = program.CheckState(ControlId::Icona);
    return state;
}

std::array<bool, 3> PlatformChecked(int index) {
    std::array<bool, 3> checked{};
    checked[static_cast<std::size_t>(index)] = true;
    return checked;
}

int CheckStateOf(int value) {
    constexpr int kStates[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
    return kStates[value];
}

// The language start-up picks from the user's locale, for the locales these
// tests run under (Wine takes it from LC_ALL).
std::optional<int> StartUpLanguage() {
    switch (GetUserDefaultLangID()) {
        case 0x0409: case 0x0403: case 0x0803: return 0;
        case 0x0456: case 0x0416: return 1;
        case 0x0482: return 2;
        case 0x0C0A: case 0x080A: return 3;
        default: return std::nullopt;
    }
}

// What the window shows when every value is valid. A control whose value is
// passed over shows what a first run shows instead: started in the root of C:
// on a 64-bit Windows, the locale's language, the first edition, 64 bit and
// the box unchecked.
WindowState AllValid() { return {1, 3, L"f:", L"F:\\VekPro", PlatformChecked(1), BST_CHECKED}; }

class HostileSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        WriteFile(L"F:\\VekPro\\VEKBIN.BAT");
        RemoveTree(L"F:\\Gone");
        CreateDirectoryW(kGreekFolder, nullptr);
    }
    void TearDown() override {
        ClearSettings();
        RemoveTree(kGreekFolder);
    }

    // Stores the four valid values and the hostile one, starts the program,
    // checks the window and the stored values, and closes it with Esc.
    void Run(const wchar_t* name, const Data& hostile, const WindowState& expected) {
        ClearSettings();
        for (const auto& [valueName, text] : kValid) {
            if (std::wstring(valueName) != name) StoreText(valueName, text);
        }
        Store(name, hostile.type, hostile.bytes);
        const auto stored = Stored(name);
        ASSERT_TRUE(stored.has_value()) << "the registry did not take the value";
        ASSERT_EQ(stored->type, hostile.type);
        ASSERT_EQ(stored->data, hostile.bytes);
        const StoredSettings before = StoredNow();
        {
            RunningProgram program;
            ASSERT_NE(program.Window(), nullptr) << "the window never opened";
            const auto box = program.WaitForMessageBox(500ms);
            if (box) {
                program.CloseMessageBox();
                ADD_FAILURE() << "start-up showed a message box: " << Narrow(box->title + L"|" + box->text);
            }
            EXPECT_EQ(Read(program), expected);
            program.PressKey(ControlId::Lang, VK_ESCAPE);
            EXPECT_TRUE(program.WaitForExit()) << "Esc did not close the window";
        }
        EXPECT_TRUE(Unchanged(before));
        ++starts_;
    }

    std::size_t starts_ = 0;
    ComScope com;
};

TEST_F(HostileSettingsTest, EachNumericValue) {
    const std::optional<int> startUpLanguage = StartUpLanguage();
    ASSERT_TRUE(startUpLanguage.has_value()) << "no expectation for the language of this run's locale (LC_ALL)";
    ASSERT_FALSE(EnvironmentValue(L"ProgramFiles(x86)").empty()) << "the programs must start as on 64-bit Windows";
    struct Column {
        const wchar_t* name;
        Number NumberRow::*expected;
        void (*apply)(WindowState&, int value);
        void (*passOver)(WindowState&, int startUpLanguage);
    };
    const Column columns[] = {
        {kIdioma, &NumberRow::idioma, [](WindowState& s, int v) { s.lang = v; },
         [](WindowState& s, int language) { s.lang = language; }},
        {kAplicacio, &NumberRow::aplicacio, [](WindowState& s, int v) { s.app = v; },
         [](WindowState& s, int) { s.app = 0; }},
        {kPlataforma, &NumberRow::plataforma, [](WindowState& s, int v) { s.platform = PlatformChecked(v); },
         [](WindowState& s, int) { s.platform = PlatformChecked(2); }},
        {kIcona, &NumberRow::icona, [](WindowState& s, int v) { s.icona = CheckStateOf(v); },
         [](WindowState& s, int) { s.icona = BST_UNCHECKED; }},
    };
    for (const Column& column : columns) {
        for (const NumberRow& row : NumberRows()) {
            SCOPED_TRACE(Narrow(column.name) + " = " + row.what);
            WindowState expected = AllValid();
            const Number outcome = row.*column.expected;
            if (outcome) {
                column.apply(expected, *outcome);
            } else {
                column.passOver(expected, *startUpLanguage);
            }
            Run(column.name, row.data, expected);
        }
    }
    // Every value of the table, in each of the four numeric settings, made a
    // start that ran all its checks.
    EXPECT_EQ(NumberRows().size(), kNumericValues);
    EXPECT_EQ(starts_, 4 * kNumericValues);
    std::printf("hostile numeric values: %u starts\n", static_cast<unsigned>(starts_));
}

TEST_F(HostileSettingsTest, TheFolder) {
    ASSERT_TRUE(FolderExists(L"F:\\VekPro"));
    ASSERT_TRUE(FolderExists(kGreekFolder)) << "cannot make a folder with a Greek name on F:";
    ASSERT_EQ((GetLogicalDrives() >> (L'h' - L'a')) & 1, 0u) << "h: must be absent";
    ASSERT_NE((GetLogicalDrives() >> (L'n' - L'a')) & 1, 0u) << "no drive n: that is not ready: the prefix setup mounts one";
    for (const FolderRow& row : FolderRows()) {
        SCOPED_TRACE(std::string("Directori = ") + row.what);
        WindowState expected = AllValid();
        expected.drive = row.folder ? L"f:" : L"c:";
        expected.folder = row.folder ? *row.folder : L"C:\\";
        Run(kDirectori, row.data, expected);
    }
    EXPECT_EQ(FolderRows().size(), kFolderValues);
    EXPECT_EQ(starts_, kFolderValues);
    std::printf("hostile folders: %u starts\n", static_cast<unsigned>(starts_));
}

}  // namespace
}  // namespace zoriza::e2e
