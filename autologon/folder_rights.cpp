#include "folder_rights.h"

#include <aclapi.h>

namespace
{
// The accounts that may change what an elevated program runs, by their relative identifiers
// under the NT authority (S-1-5-...): SYSTEM, Administrators, TrustedInstaller.
const DWORD kSystem[] = {18};
const DWORD kAdministrators[] = {32, 544};
const DWORD kTrustedInstaller[] = {80, 956008885, 3418522649, 1831038044, 1853292631, 2271478464};

bool IsNtSid(PSID sid, const DWORD* ids, BYTE count)
{
    const SID_IDENTIFIER_AUTHORITY* authority = GetSidIdentifierAuthority(sid);
    const BYTE nt[6] = {0, 0, 0, 0, 0, 5};
    if (*GetSidSubAuthorityCount(sid) != count)
        return false;
    for (int i = 0; i < 6; ++i)
        if (authority->Value[i] != nt[i])
            return false;
    for (DWORD i = 0; i < count; ++i)
        if (*GetSidSubAuthority(sid, i) != ids[i])
            return false;
    return true;
}

bool IsAdministration(PSID sid)
{
    return sid != nullptr && IsValidSid(sid) &&
           (IsNtSid(sid, kSystem, 1) || IsNtSid(sid, kAdministrators, 2) ||
            IsNtSid(sid, kTrustedInstaller, 6));
}

const ACCESS_MASK kWriteRights = FILE_WRITE_DATA | FILE_APPEND_DATA | DELETE | WRITE_DAC |
                                 WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
} // namespace

bool SecurityLetsOthersWrite(PSECURITY_DESCRIPTOR descriptor)
{
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    BOOL present = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) || !IsAdministration(owner) ||
        !GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present ||
        dacl == nullptr)
        return true;
    for (DWORD i = 0; i < dacl->AceCount; ++i)
    {
        void* entry = nullptr;
        if (!GetAce(dacl, i, &entry))
            return true;
        auto* ace = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        const BYTE type = ace->Header.AceType;
        if ((type != ACCESS_ALLOWED_ACE_TYPE && type != ACCESS_ALLOWED_CALLBACK_ACE_TYPE) ||
            (ace->Header.AceFlags & INHERIT_ONLY_ACE) != 0 || (ace->Mask & kWriteRights) == 0)
            continue;
        if (!IsAdministration(&ace->SidStart))
            return true;
    }
    return false;
}

DWORD OthersMayWrite(const wchar_t* path, bool& writable)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error = GetNamedSecurityInfoW(
        path, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
        nullptr, nullptr, nullptr, &descriptor);
    if (error != ERROR_SUCCESS)
        return error;
    writable = SecurityLetsOthersWrite(descriptor);
    LocalFree(descriptor);
    return ERROR_SUCCESS;
}
