// The real window and controls: layout at the display's DPI, design-time
// state, tab order, events raised from code, and the key preview.
#include <gtest/gtest.h>

#include "localisation/catalogue.h"
#include "app/native_form.h"

namespace zoriza {
namespace {

UINT ExpectedDpi() {
    wchar_t value[16] = {};
    return GetEnvironmentVariableW(L"ZORIZA_EXPECT_DPI", value, 16) ? static_cast<UINT>(_wtoi(value)) : 96;
}

RECT ClientRectOf(HWND parent, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class NativeFormTest : public ::testing::Test {
protected:
    ServerRequests requests;
    NativeForm form{GetModuleHandleW(nullptr), requests};
};

void ExpectLaidOutAt(const NativeForm& form, UINT dpi) {
    RECT client{};
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, TwipsToPixels(kClientWidthTwips, static_cast<int>(dpi)));
    EXPECT_EQ(client.bottom, TwipsToPixels(kClientHeightTwips, static_cast<int>(dpi)));
    if (dpi == 96) {
        EXPECT_EQ(client.right, 478);
        EXPECT_EQ(client.bottom, 462);
    }
    for (const ControlDesign& design : kControlDesigns) {
        const TwipsRect twips = ClientTwips(design);
        const RECT actual = ClientRectOf(form.Handle(), form.Control(design.id));
        const int d = static_cast<int>(dpi);
        EXPECT_EQ(actual.left, TwipsToPixels(twips.left, d)) << design.name;
        EXPECT_EQ(actual.top, TwipsToPixels(twips.top, d)) << design.name;
        EXPECT_EQ(actual.right - actual.left, TwipsToPixels(twips.width, d)) << design.name;
        EXPECT_EQ(actual.bottom - actual.top, TwipsToPixels(twips.height, d)) << design.name;
    }
}

TEST_F(NativeFormTest, ClientAreaAndEveryControlSitWhereTheDesignPutsThem) {
    ASSERT_EQ(WindowDpi(SystemDpiFunctions(), form.Handle()), ExpectedDpi());
    ExpectLaidOutAt(form, ExpectedDpi());
}

// A system without the per-window DPI functions (before Windows 10) gives
// the window the screen's DPI, frame included.
TEST(NativeFormWithoutPerWindowDpi, SitsWhereTheDesignPutsItAtTheScreenDpi) {
    ServerRequests requests;
    const NativeForm form{GetModuleHandleW(nullptr), requests, DpiFunctions{}};
    ExpectLaidOutAt(form, ExpectedDpi());
}

// Stand-ins for the per-window functions, each answer told apart from the screen's.
UINT WINAPI DpiOf120(HWND) { return 120; }
UINT WINAPI NoDpi(HWND) { return 0; }
BOOL WINAPI FrameOfATenthOfTheDpi(RECT* rect, DWORD, BOOL, DWORD, UINT dpi) {
    const int frame = static_cast<int>(dpi) / 10;
    return InflateRect(rect, frame, frame);
}

TEST(WindowDpiTest, ThePerWindowAnswerWinsAndTheScreenStandsInForAMissingOne) {
    const struct {
        DpiFunctions functions;
        UINT expected;
    } cases[] = {
        {{&DpiOf120, nullptr}, 120},
        {{&NoDpi, nullptr}, ExpectedDpi()},  // a window the system does not know
        {{}, ExpectedDpi()},
    };
    for (const auto& c : cases) EXPECT_EQ(WindowDpi(c.functions, GetDesktopWindow()), c.expected);
}

TEST(WindowDpiTest, TheFrameIsAtTheDpiAskedForOrTheSystemsWithoutThePerWindowFunction) {
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT atDpi{0, 0, 100, 50};
    AddWindowFrame(DpiFunctions{nullptr, &FrameOfATenthOfTheDpi}, atDpi, style, 120);
    EXPECT_EQ(atDpi.left, -12);
    EXPECT_EQ(atDpi.bottom, 62);
    RECT expected{0, 0, 100, 50};
    ASSERT_TRUE(AdjustWindowRectEx(&expected, style, FALSE, 0));
    RECT atSystemDpi{0, 0, 100, 50};
    AddWindowFrame(DpiFunctions{}, atSystemDpi, style, 120);
    EXPECT_TRUE(EqualRect(&atSystemDpi, &expected));
    EXPECT_LT(atSystemDpi.top, 0);
}

TEST_F(NativeFormTest, ListLinesAreOneFifteenthOfTheDesignLine) {
    const int line = TwipsToPixels(195, static_cast<int>(ExpectedDpi()));
    for (const ControlId id : {ControlId::Lang, ControlId::App, ControlId::Dir1}) {
        EXPECT_EQ(SendMessageW(form.Control(id), LB_GETITEMHEIGHT, 0, 0), line);
    }
    RECT client{};
    GetClientRect(form.Control(ControlId::App), &client);
    EXPECT_GE(client.bottom, 4 * line);  // all four editions without scrolling
    GetClientRect(form.Control(ControlId::Lang), &client);
    EXPECT_LT(client.bottom, 2 * line);  // one language at a time
}

TEST_F(NativeFormTest, DesignTimeState) {
    EXPECT_EQ(form.Form().Caption(), kDesignCaption);
    EXPECT_EQ(form.Lang().ListIndex(), -1);
    EXPECT_EQ(form.App().ListIndex(), -1);
    EXPECT_EQ(form.Lang().Text(), L"");
    ASSERT_EQ(form.Lang().ListCount(), 4);
    for (std::int16_t i = 0; i < 4; ++i) {
        EXPECT_EQ(form.Lang().List(i), kLanguageNames[static_cast<std::size_t>(i)]);
        EXPECT_EQ(form.App().List(i), kEditionCaptions[static_cast<std::size_t>(i)]);
        if (i < 3) {
            EXPECT_TRUE(form.Platform().Enabled(i));
            EXPECT_FALSE(form.Platform().Value(i));
        }
    }
    EXPECT_EQ(form.Icona().Value(), 0);
    EXPECT_EQ(form.Icona().Caption(), L"Accés escriptori");
    EXPECT_EQ(form.Caption(ControlId::Intro).Caption(), L"CREAR");
    EXPECT_EQ(form.Caption(ControlId::Frame1).Caption(), L"Servidor");
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    std::wstring expected = current;
    if (expected.size() > 3 && expected.back() == L'\\') expected.pop_back();
    EXPECT_EQ(form.Dir1().Path(), expected);
    EXPECT_EQ(towupper(form.Drive1().Drive()[0]), towupper(current[0]));
}

TEST_F(NativeFormTest, PlatformIndexZeroIsTheTopButton) {
    const RECT top = ClientRectOf(form.Handle(), form.Control(ControlId::Platform0));
    const RECT bottom = ClientRectOf(form.Handle(), form.Control(ControlId::Platform2));
    EXPECT_LT(top.top, bottom.top);
    wchar_t text[16] = {};
    GetWindowTextW(form.Control(ControlId::Platform0), text, 16);
    EXPECT_STREQ(text, L"16 bit");
    form.Platform().Select(2);
    EXPECT_TRUE(form.Platform().Value(2));
    form.Platform().Select(0);
    EXPECT_TRUE(form.Platform().Value(0));
    EXPECT_FALSE(form.Platform().Value(2));
    EXPECT_THROW(form.Platform().Select(3), AppError);
}

std::vector<HWND> TabCycle(HWND window, HWND start) {
    std::vector<HWND> visited{start};
    for (HWND next = GetNextDlgTabItem(window, start, FALSE); next != start && visited.size() < 20;
         next = GetNextDlgTabItem(window, next, FALSE)) {
        visited.push_back(next);
    }
    return visited;
}

TEST_F(NativeFormTest, TabVisitsTheControlsInOrderAndTheSelectedPlatform) {
    form.Platform().Select(1);
    const std::vector<HWND> expected = {
        form.Control(ControlId::Lang),  form.Control(ControlId::App),   form.Control(ControlId::Search),
        form.Control(ControlId::Drive1), form.Control(ControlId::Dir1), form.Control(ControlId::Intro),
        form.Control(ControlId::Icona), form.Control(ControlId::Platform1)};
    EXPECT_EQ(TabCycle(form.Handle(), form.Control(ControlId::Lang)), expected);
}

TEST_F(NativeFormTest, SelectingFromCodeRaisesTheClickInsideTheCall) {
    int clicks = 0;
    std::int16_t seen = -2;
    form.Lang().OnClick([&] {
        ++clicks;
        seen = form.Lang().ListIndex();
    });
    form.Lang().SetListIndex(2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(seen, 2);
    form.Lang().SetListIndex(2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form.Lang().Text(), L"Aranés");
    try {
        form.Lang().SetListIndex(4);
        ADD_FAILURE() << "index 4 accepted";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number(), kInvalidPropertyValue);
    }
    EXPECT_THROW(form.Lang().SetListIndex(-1), AppError);
}

TEST_F(NativeFormTest, ReplacingAnEntryKeepsCountOrderAndSelection) {
    form.App().SetListIndex(1);
    form.App().SetList(1, L"VekFin Finanzas");
    form.App().SetList(3, L"VekNom Nóminas");
    EXPECT_EQ(form.App().ListIndex(), 1);
    EXPECT_EQ(form.App().ListCount(), 4);
    EXPECT_EQ(form.App().Text(), L"VekFin Finanzas");
    EXPECT_EQ(form.App().List(0), L"VekPro Professional");
}

TEST_F(NativeFormTest, ChangingTheDriveFromCodeRaisesTheChangeInsideTheCall) {
    ASSERT_GE(form.Drive1().ListCount(), 2) << "the prefix has C: and Z:";
    int changes = 0;
    form.Drive1().OnChange([&] { ++changes; });
    const std::wstring first = form.Drive1().List(0);
    const std::wstring other = form.Drive1().List(1);
    form.Drive1().SetDrive(first.substr(0, 2));
    form.Drive1().SetDrive(other);
    EXPECT_GE(changes, 1);
    const int before = changes;
    form.Drive1().SetDrive(std::wstring(1, static_cast<wchar_t>(towupper(other[0]))) + L":");
    EXPECT_EQ(changes, before);
    EXPECT_EQ(form.Drive1().Drive(), other);
    form.Drive1().ShowDrive(first);
    EXPECT_EQ(changes, before);
    try {
        form.Drive1().SetDrive(L"Q:");
        ADD_FAILURE() << "drive Q: accepted";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number(), kDeviceUnavailable);
    }
    for (std::int16_t i = 0; i < form.Drive1().ListCount(); ++i) {
        const std::wstring entry = form.Drive1().List(i);
        EXPECT_TRUE(entry.size() >= 2 && iswlower(entry[0]) && entry[1] == L':') << entry;
    }
}

TEST_F(NativeFormTest, TheFolderListShowsFullPathsAndRejectsMissingFolders) {
    form.Dir1().SetPath(L"C:\\windows\\system32\\");
    EXPECT_EQ(form.Dir1().Path(), L"C:\\windows\\system32");
    form.Dir1().SetPath(L"C:\\");
    EXPECT_EQ(form.Dir1().Path(), L"C:\\");
    form.Dir1().SetPath(L"C:\\windows");
    form.Dir1().SetPath(L"Z:\\");
    form.Dir1().SetPath(L"C:");  // back to the folder last shown on C:
    EXPECT_EQ(form.Dir1().Path(), L"C:\\windows");
    try {
        form.Dir1().SetPath(L"C:\\no such folder");
        ADD_FAILURE() << "missing folder accepted";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number(), kPathNotFound);
    }
    EXPECT_EQ(form.Dir1().Path(), L"C:\\windows");
    const HWND list = form.Control(ControlId::Dir1);
    wchar_t first[MAX_PATH] = {};
    SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, L"C:\\");
    EXPECT_GT(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);  // root, windows and its subfolders
}

// A current folder longer than MAX_PATH is shown, not left out.
TEST(NativeFormStart, ACurrentFolderLongerThanMaxPathFillsTheFolderList) {
    wchar_t before[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    std::wstring deep = L"C:\\zoriza-deep";
    CreateDirectoryW(deep.c_str(), nullptr);
    while (deep.size() <= MAX_PATH + 20) {
        deep += L"\\" + std::wstring(40, L'd');
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) << deep.size();
    }
    ASSERT_TRUE(SetCurrentDirectoryW(deep.c_str())) << "this system keeps current folders within MAX_PATH";
    {
        ServerRequests requests;
        NativeForm form{GetModuleHandleW(nullptr), requests};
        EXPECT_EQ(form.Dir1().Path(), deep);
        EXPECT_GT(SendMessageW(form.Control(ControlId::Dir1), LB_GETCOUNT, 0, 0), 1);
    }
    SetCurrentDirectoryW(before);
    for (std::wstring folder = deep; folder.size() > 3; folder.resize(folder.rfind(L'\\'))) {
        RemoveDirectoryW(folder.c_str());
    }
}

TEST_F(NativeFormTest, TheCheckBoxTakesOnlyItsThreeValues) {
    for (const std::int16_t value : {2, 1, 0}) {
        form.Icona().SetValue(value);
        EXPECT_EQ(form.Icona().Value(), value);
    }
    EXPECT_THROW(form.Icona().SetValue(3), AppError);
    form.Icona().SetValue(2);
    form.Icona().Toggle();
    EXPECT_EQ(form.Icona().Value(), 1);
    form.Icona().Toggle();
    EXPECT_EQ(form.Icona().Value(), 0);
}

TEST_F(NativeFormTest, KeyPreviewSeesEscapeBeforeNavigationAndPassesOtherCharacters) {
    std::vector<std::int16_t> seen;
    form.OnKeyPreview([&](std::int16_t& key) { seen.push_back(key); });
    MSG escape{form.Control(ControlId::Dir1), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(form.PreTranslate(escape));
    MSG letter{form.Control(ControlId::Lang), WM_CHAR, L'g', 0, 0, {}};
    EXPECT_FALSE(form.PreTranslate(letter));
    EXPECT_EQ(letter.wParam, static_cast<WPARAM>(L'g'));
    MSG elsewhere{nullptr, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_FALSE(form.PreTranslate(elsewhere));
    EXPECT_EQ(seen, (std::vector<std::int16_t>{27, L'g'}));
}

TEST_F(NativeFormTest, AUsersSelectionReachesTheUserActionOnly) {
    std::vector<ControlId> actions;
    int clicks = 0;
    form.OnUserAction([&](ControlId id) { actions.push_back(id); });
    form.Lang().OnClick([&] { ++clicks; });
    const HWND lang = form.Control(ControlId::Lang);
    SendMessageW(lang, LB_SETCURSEL, 3, 0);
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(static_cast<UINT>(ControlId::Lang), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(lang));
    SendMessageW(form.Control(ControlId::Intro), BM_CLICK, 0, 0);
    EXPECT_EQ(actions, (std::vector<ControlId>{ControlId::Lang, ControlId::Intro}));
    EXPECT_EQ(clicks, 0);
}

}  // namespace
}  // namespace zoriza
