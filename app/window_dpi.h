// The DPI the window is laid out at. The per-window functions came with
// Windows 10 (version 1607); they are looked up, never imported, and where
// they are missing the window takes the system DPI, which is the one such a
// system gives its windows' frames.
#pragma once

#include <windows.h>

namespace zoriza {

struct DpiFunctions {
    // Each null where the system lacks it.
    UINT(WINAPI* dpiForWindow)(HWND) = nullptr;
    BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
};

// The running system's functions.
DpiFunctions SystemDpiFunctions();

// The window's own DPI, or the screen's where the system cannot tell it.
UINT WindowDpi(const DpiFunctions& functions, HWND window);

// Grows the client rectangle `rect` to the window rectangle of a window of
// `style` without a menu, its frame at `dpi`. Where the system cannot tell,
// `rect` stays the client rectangle.
void AddWindowFrame(const DpiFunctions& functions, RECT& rect, DWORD style, UINT dpi);

}  // namespace zoriza
