// The window as the form sees it: closing, ending the program, the message
// box and the wait cursor.
#include "platform/win32/win32_controls.h"

namespace zoriza {

void Win32Window::Unload() { DestroyWindow(handle_); }

void Win32Window::EndProgram() { PostQuitMessage(0); }

void Win32Window::ShowMessage(const std::wstring& text, const std::wstring& title, MessageIcon icon) {
    // The user reads the box with the ordinary pointer.
    const bool wasBusy = busy_;
    SetBusy(false);
    const UINT style = MB_OK | (icon == MessageIcon::Error ? MB_ICONERROR : 0);
    MessageBoxW(IsWindow(handle_) ? handle_ : nullptr, text.c_str(),
                title.empty() ? applicationTitle_.c_str() : title.c_str(), style);
    SetBusy(wasBusy);
}

void Win32Window::SetBusy(bool busy) {
    busy_ = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

}  // namespace zoriza
