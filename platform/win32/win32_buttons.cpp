// Captions, the option group and the check box.
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_error.h"

namespace zoriza {

std::wstring Win32Caption::Caption() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(handle_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Win32Caption::SetCaption(const std::wstring& text) { SetWindowTextW(handle_, text.c_str()); }

HWND Win32OptionGroup::Button(std::int16_t index) const {
    if (index < 0 || index >= Count()) {
        throw AppError(kControlArrayElementMissing, L"Control array element does not exist");
    }
    return buttons_[static_cast<std::size_t>(index)];
}

bool Win32OptionGroup::Enabled(std::int16_t index) const { return IsWindowEnabled(Button(index)) != FALSE; }

void Win32OptionGroup::SetEnabled(std::int16_t index, bool enabled) { EnableWindow(Button(index), enabled); }

bool Win32OptionGroup::Value(std::int16_t index) const {
    return SendMessageW(Button(index), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32OptionGroup::Select(std::int16_t index) {
    const HWND selected = Button(index);
    for (const HWND button : buttons_) {
        SendMessageW(button, BM_SETCHECK, button == selected ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    UpdateTabStop();
}

void Win32OptionGroup::UpdateTabStop() {
    HWND stop = buttons_[0];
    for (const HWND button : buttons_) {
        if (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) stop = button;
    }
    for (const HWND button : buttons_) {
        const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
        SetWindowLongPtrW(button, GWL_STYLE, button == stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

std::int16_t Win32CheckBox::Value() const {
    switch (SendMessageW(handle_, BM_GETCHECK, 0, 0)) {
        case BST_CHECKED: return kChecked;
        case BST_INDETERMINATE: return kGreyed;
        default: return kCleared;
    }
}

void Win32CheckBox::SetValue(std::int16_t value) {
    WPARAM state = BST_UNCHECKED;
    switch (value) {
        case kCleared: state = BST_UNCHECKED; break;
        case kChecked: state = BST_CHECKED; break;
        case kGreyed: state = BST_INDETERMINATE; break;
        default: ThrowInvalidProperty();
    }
    SendMessageW(handle_, BM_SETCHECK, state, 0);
}

void Win32CheckBox::Toggle() { SetValue(Value() == kChecked ? kCleared : kChecked); }

}  // namespace zoriza
