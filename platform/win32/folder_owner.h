// Who owns a folder, and whether the scan may trust that owner.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zoriza {

// The SID of the account this process runs as; empty when it cannot be read.
std::vector<BYTE> ProcessUserSid();

// True when the account this process runs as is SYSTEM.
bool RunsAsSystem();

// Whether `folder`'s owner is this process's user, the Administrators group,
// SYSTEM or TrustedInstaller. False when the owner cannot be read (a disk
// that keeps no owners vouches for nobody).
bool OwnedByTrustedAccount(const std::wstring& folder);

}  // namespace zoriza
