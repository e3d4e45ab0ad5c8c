// The process's current folder, whatever its length; empty if it cannot be read.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/sized_text.h"

namespace zoriza {

inline std::wstring CurrentFolder() {
    return SizedText([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); });
}

}  // namespace zoriza
