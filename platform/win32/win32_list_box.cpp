// The list boxes of languages and editions.
#include "platform/base/error.h"
#include "platform/win32/list_item_text.h"
#include "platform/win32/win32_controls.h"

namespace zoriza {

std::int16_t Win32ListBox::ListCount() const {
    return static_cast<std::int16_t>(SendMessageW(handle_, LB_GETCOUNT, 0, 0));
}

void Win32ListBox::CheckIndex(std::int16_t index) const {
    if (index < 0 || index >= ListCount()) ThrowInvalidProperty();
}

std::wstring Win32ListBox::List(std::int16_t index) const {
    CheckIndex(index);
    return ItemText(handle_, LB_GETTEXTLEN, LB_GETTEXT, index);
}

void Win32ListBox::SetList(std::int16_t index, const std::wstring& text) {
    CheckIndex(index);
    const std::int16_t selected = ListIndex();
    const LRESULT top = SendMessageW(handle_, LB_GETTOPINDEX, 0, 0);
    SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(handle_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageW(handle_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    if (selected == index) SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(handle_, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
}

std::int16_t Win32ListBox::ListIndex() const {
    return static_cast<std::int16_t>(SendMessageW(handle_, LB_GETCURSEL, 0, 0));
}

// LB_SETCURSEL does not notify: the click event is raised here, as a user's
// selection raises it.
void Win32ListBox::SetListIndex(std::int16_t index) {
    CheckIndex(index);
    if (index == ListIndex()) return;
    SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (onClick_) onClick_();
}

std::wstring Win32ListBox::Text() const {
    const std::int16_t index = ListIndex();
    return index < 0 ? std::wstring() : ItemText(handle_, LB_GETTEXTLEN, LB_GETTEXT, index);
}

}  // namespace zoriza
