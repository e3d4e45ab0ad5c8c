// What the list wrappers share: reading an entry's text, drive keys, the
// process's current folder and the error of an index outside the entries.
#pragma once

#include <windows.h>

#include <string>

#include "platform/base/error.h"
#include "platform/base/text.h"
#include "platform/win32/sized_text.h"

namespace zoriza {

inline constexpr std::size_t kDriveLength = 2;  // "F:"

[[noreturn]] inline void ThrowInvalidProperty() {
    throw AppError(kInvalidPropertyValue, L"Invalid property value");
}

// The text of a list or combo box entry, asked with its length message first.
inline std::wstring ItemText(HWND list, UINT lengthMessage, UINT textMessage, int index) {
    const LRESULT length = SendMessageW(list, lengthMessage, static_cast<WPARAM>(index), 0);
    if (length < 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// The process's current folder, whatever its length; empty if it cannot be read.
inline std::wstring CurrentFolder() {
    return SizedText([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); });
}

// "F:" for any text that begins with a drive letter and a colon, in either case.
inline std::wstring DriveKey(const std::wstring& text) { return AsciiUpper(text.substr(0, kDriveLength)); }

}  // namespace zoriza
