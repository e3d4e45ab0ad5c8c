// Texts the system fills in after saying how long they must be.
#pragma once

#include <windows.h>

#include <string>

namespace zoriza {

// `fill(buffer, size)` answers, as GetCurrentDirectoryW and its kin do, the
// size needed (terminator included) when the buffer is too small, else the
// length written. Asked again while the text grew between the calls; empty
// when the system answers 0.
template <typename Fill>
std::wstring SizedText(Fill fill) {
    std::wstring text;
    DWORD needed = fill(nullptr, 0);
    while (needed > text.size()) {
        text.assign(needed, L'\0');
        needed = fill(text.data(), static_cast<DWORD>(text.size()));
    }
    text.resize(needed);
    return text;
}

}  // namespace zoriza
