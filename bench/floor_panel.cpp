// A window with a scan button, a folder list and a message-box button.
//
// The scan button does what the server scan needs and no more: one
// FindFirstFileW lookup of <drive>\VekPro\VEKBIN.BAT on each drive, in the
// order GetLogicalDriveStringsW gives them (read once, when the window opens),
// until one finds a plain file; then the folder list shows that drive's root,
// the edition folder (selected) and its subfolders. WM_APP answers how long
// the lookups alone took, in microseconds.
//
// The message-box button shows a message box at once: the cost of a click
// that ends in a report, without any work in between.
#include <windows.h>

#include <string>
#include <vector>

#include "floor_main_window.h"
#include "platform/win32/unique_handle.h"

namespace {

constexpr wchar_t kWindowClass[] = L"BenchFloorPanel";
constexpr int kScanButton = 1;
constexpr int kFolderList = 2;
constexpr int kBoxButton = 3;
constexpr wchar_t kEditionFolder[] = L"VekPro";
constexpr wchar_t kLauncher[] = L"VEKBIN.BAT";

std::vector<std::wstring> drives;
LONGLONG lookupMicroseconds = -1;

LONGLONG Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

void ReadDrives() {
    const DWORD length = GetLogicalDriveStringsW(0, nullptr);
    std::wstring roots(length, L'\0');
    GetLogicalDriveStringsW(length, roots.data());
    for (const wchar_t* root = roots.c_str(); *root != L'\0'; root += wcslen(root) + 1) {
        drives.emplace_back(root);
        drives.back()[0] = static_cast<wchar_t>(towupper(drives.back()[0]));
    }
}

bool HoldsPlainLauncher(const std::wstring& root) {
    const std::wstring path = root + kEditionFolder + L"\\" + kLauncher;
    WIN32_FIND_DATAW entry{};
    if (!zoriza::UniqueFindHandle(FindFirstFileW(path.c_str(), &entry))) return false;
    const DWORD notPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (entry.dwFileAttributes & notPlain) == 0;
}

void AddEntry(HWND list, const std::wstring& text) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ShowEditionFolder(HWND list, const std::wstring& root) {
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    AddEntry(list, root);
    AddEntry(list, std::wstring(L"  ") + kEditionFolder);
    const std::wstring pattern = root + kEditionFolder + L"\\*";
    WIN32_FIND_DATAW entry{};
    if (const zoriza::UniqueFindHandle find(FindFirstFileW(pattern.c_str(), &entry)); find) {
        do {
            const std::wstring name = entry.cFileName;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") {
                AddEntry(list, L"    " + name);
            }
        } while (FindNextFileW(find.get(), &entry));
    }
    SendMessageW(list, LB_SETCURSEL, 1, 0);
}

void Scan(HWND window) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const LONGLONG start = Ticks();
    const std::wstring* found = nullptr;
    for (const std::wstring& root : drives) {
        if (HoldsPlainLauncher(root)) {
            found = &root;
            break;
        }
    }
    lookupMicroseconds = (Ticks() - start) * 1000000 / frequency.QuadPart;
    if (found != nullptr) {
        ShowEditionFolder(GetDlgItem(window, kFolderList), *found);
    } else {
        MessageBoxW(window, L"VekPro\\VEKBIN.BAT", L"NO S'HA TROBAT", MB_OK | MB_ICONERROR);
    }
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kScanButton) Scan(window);
            if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kBoxButton) {
                MessageBoxW(window, L"Creats accessos al servidor F:\\VekPro\\", L"ZORIZA", MB_OK);
            }
            return 0;
        case WM_APP:
            return static_cast<LRESULT>(lookupMicroseconds);
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND Child(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, int x, int y, int width,
           int height) {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    ReadDrives();
    const HWND window = bench::CreateFloorWindow(instance, kWindowClass, L"Floor panel", &WindowProcedure);
    if (window == nullptr) return 1;
    Child(window, L"BUTTON", L"Scan", BS_PUSHBUTTON | WS_TABSTOP, kScanButton, 8, 8, 120, 28);
    Child(window, L"BUTTON", L"Box", BS_PUSHBUTTON | WS_TABSTOP, kBoxButton, 136, 8, 120, 28);
    const HWND list = Child(window, L"LISTBOX", L"", LBS_NOTIFY | LBS_HASSTRINGS | WS_VSCROLL | WS_BORDER,
                            kFolderList, 8, 44, 240, 300);
    AddEntry(list, L"C:\\");
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    ShowWindow(window, showCommand);
    return bench::RunMessageLoop();
}
