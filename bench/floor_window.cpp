// The smallest program that opens one empty top-level window and waits for
// input: what start-up and memory are measured against. Built with
// BENCH_SAME_IMPORTS it also loads the DLLs ZORIZA.exe imports and starts
// COM and the common controls as ZORIZA.exe does before its window exists;
// built with BENCH_SAME_CONTROLS as well, the window also holds controls of
// the same classes and styles as ZORIZA.exe's thirteen, in the same font,
// with nothing behind them.
#include <windows.h>

#ifdef BENCH_SAME_IMPORTS
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#endif

#include "floor_main_window.h"

namespace {

constexpr wchar_t kWindowClass[] = L"BenchFloorWindow";

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

#ifdef BENCH_SAME_IMPORTS
// Taking the addresses makes the linker import shell32, advapi32 and gdi32
// as ZORIZA.exe does, without calling them.
void* volatile importedFunctions[] = {
    reinterpret_cast<void*>(&SHGetKnownFolderPath),
    reinterpret_cast<void*>(&RegOpenKeyExW),
    reinterpret_cast<void*>(&CreateFontW),
};

void StartLikeZoriza() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)importedFunctions[0];
}
#endif

#ifdef BENCH_SAME_CONTROLS
struct Control {
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    DWORD exStyle;
};

constexpr DWORD kList = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
constexpr Control kControls[] = {
    {L"BUTTON", L"CREAR", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0},
    {L"BUTTON", L"Icones addicionals", BS_GROUPBOX | WS_GROUP, 0},
    {L"BUTTON", L"Accés escriptori", BS_3STATE | WS_TABSTOP | WS_GROUP, 0},
    {L"BUTTON", L"Plataforma", BS_GROUPBOX | WS_GROUP, 0},
    {L"BUTTON", L"64 bit", BS_AUTORADIOBUTTON, 0},
    {L"BUTTON", L"32 bit", BS_AUTORADIOBUTTON, 0},
    {L"BUTTON", L"16 bit", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0},
    {L"BUTTON", L"Servidor", BS_GROUPBOX | WS_GROUP, 0},
    {L"LISTBOX", L"", kList, WS_EX_CLIENTEDGE},
    {L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 0},
    {L"BUTTON", L"EXAMINAR", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0},
    {L"LISTBOX", L"", kList, WS_EX_CLIENTEDGE},
    {L"LISTBOX", L"", kList, WS_EX_CLIENTEDGE},
};

void AddControls(HWND window, HINSTANCE instance) {
    const HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Lucida Console");
    int id = 101;
    int top = 8;
    for (const Control& control : kControls) {
        const HWND child = CreateWindowExW(control.exStyle, control.className, control.text,
                                           WS_CHILD | WS_VISIBLE | control.style, 8, top, 200, 28, window,
                                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        top += 32;
    }
}
#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
#ifdef BENCH_SAME_IMPORTS
    StartLikeZoriza();
#endif
    const HWND window = bench::CreateFloorWindow(instance, kWindowClass, L"Floor", &WindowProcedure);
    if (window == nullptr) return 1;
#ifdef BENCH_SAME_CONTROLS
    AddControls(window, instance);
#endif
    ShowWindow(window, showCommand);
    return bench::RunMessageLoop();
}
