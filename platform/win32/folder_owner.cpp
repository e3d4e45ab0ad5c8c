#include "platform/win32/folder_owner.h"

#include <aclapi.h>

#include "platform/win32/unique_handle.h"

namespace zoriza {

namespace {

// NT SERVICE\TrustedInstaller, which owns what Windows itself installs.
bool IsTrustedInstaller(PSID sid) {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID trustedInstaller = nullptr;
    if (!AllocateAndInitializeSid(&nt, 6, SECURITY_SERVICE_ID_BASE_RID, 956008885, 3425627381, 3404297838,
                                  1590734316, 1393839524, 0, 0, &trustedInstaller)) {
        return false;
    }
    const bool same = EqualSid(sid, trustedInstaller) != FALSE;
    FreeSid(trustedInstaller);
    return same;
}

}  // namespace

std::vector<BYTE> ProcessUserSid() {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return {};
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size) && GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return {};
    }
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return {};
    const PSID sid = reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid;
    const BYTE* first = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(first, first + GetLengthSid(sid));
}

bool RunsAsSystem() {
    std::vector<BYTE> user = ProcessUserSid();
    return !user.empty() && IsWellKnownSid(user.data(), WinLocalSystemSid);
}

bool OwnedByTrustedAccount(const std::wstring& folder) {
    PSID owner = nullptr;
    UniqueSecurityDescriptor descriptor;
    const DWORD status = GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                               nullptr, nullptr, nullptr, descriptor.put());
    if (status != ERROR_SUCCESS || owner == nullptr || !IsValidSid(owner)) return false;
    std::vector<BYTE> user = ProcessUserSid();
    if (!user.empty() && EqualSid(owner, user.data())) return true;
    return IsWellKnownSid(owner, WinBuiltinAdministratorsSid) || IsWellKnownSid(owner, WinLocalSystemSid) ||
           IsTrustedInstaller(owner);
}

}  // namespace zoriza
