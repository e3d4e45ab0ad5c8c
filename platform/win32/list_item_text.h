// The text of an entry of a list box or a combo box.
#pragma once

#include <windows.h>

#include <string>

namespace zoriza {

// Asked with its length message first, so that any length reads whole.
inline std::wstring ItemText(HWND list, UINT lengthMessage, UINT textMessage, int index) {
    const LRESULT length = SendMessageW(list, lengthMessage, static_cast<WPARAM>(index), 0);
    if (length < 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

}  // namespace zoriza
