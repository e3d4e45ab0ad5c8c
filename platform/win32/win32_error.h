// Win32 and COM failures as the program's one error type, with the system's
// own message text.
#pragma once

#include <windows.h>

#include <string>

#include "platform/base/error.h"

namespace zoriza {

std::wstring SystemMessage(DWORD code);

// A file-system failure with the number a Windows programmer expects for it.
AppError FileError(DWORD code);

// A COM failure: its HRESULT as the number.
AppError ComError(HRESULT result);

// Throws ComError unless the call succeeded (S_FALSE counts as success).
void CheckCom(HRESULT result);

}  // namespace zoriza
