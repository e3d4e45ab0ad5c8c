#include "platform/win32/administrator.h"

#include <windows.h>

namespace zoriza {

bool RunsAsAdministrator() {
    BYTE sid[SECURITY_MAX_SID_SIZE] = {};
    DWORD size = sizeof(sid);
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size)) return false;
    BOOL member = FALSE;
    return CheckTokenMembership(nullptr, sid, &member) && member;
}

}  // namespace zoriza
