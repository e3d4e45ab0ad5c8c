#include "app/window_dpi.h"

#include "platform/win32/system_libraries.h"
#include "platform/win32/unique_handle.h"

namespace zoriza {

namespace {

UINT ScreenDpi() {
    const UniqueScreenDc screen(GetDC(nullptr));
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

DpiFunctions SystemDpiFunctions() {
    const HMODULE user = GetModuleHandleW(L"user32.dll");
    DpiFunctions functions;
    functions.dpiForWindow = LookUp<decltype(functions.dpiForWindow)>(user, "GetDpiForWindow");
    functions.adjustWindowRectExForDpi =
        LookUp<decltype(functions.adjustWindowRectExForDpi)>(user, "AdjustWindowRectExForDpi");
    return functions;
}

UINT WindowDpi(const DpiFunctions& functions, HWND window) {
    // A window the system does not know has no DPI of its own (0).
    const UINT dpi = functions.dpiForWindow != nullptr ? functions.dpiForWindow(window) : 0;
    return dpi != 0 ? dpi : ScreenDpi();
}

void AddWindowFrame(const DpiFunctions& functions, RECT& rect, DWORD style, UINT dpi) {
    RECT window = rect;
    const BOOL added = functions.adjustWindowRectExForDpi != nullptr
                           ? functions.adjustWindowRectExForDpi(&window, style, FALSE, 0, dpi)
                           : AdjustWindowRectEx(&window, style, FALSE, 0);
    if (added) rect = window;
}

}  // namespace zoriza
