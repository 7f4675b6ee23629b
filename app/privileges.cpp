#include "privileges.h"

#include <windows.h>

#include "unique_handle.h"

const wchar_t* const kPrivilegeNames[kPrivilegeCount] = {
    L"SeBackupPrivilege",
    L"SeRestorePrivilege",
    L"SeChangeNotifyPrivilege",
    L"SeCreateTokenPrivilege",
    L"SeAssignPrimaryTokenPrivilege",
    L"SeLockMemoryPrivilege",
    L"SeIncreaseQuotaPrivilege",
    L"SeUnsolicitedInputPrivilege",
    L"SeMachineAccountPrivilege",
    L"SeTcbPrivilege",
    L"SeSecurityPrivilege",
    L"SeTakeOwnershipPrivilege",
    L"SeLoadDriverPrivilege",
    L"SeSystemProfilePrivilege",
    L"SeSystemtimePrivilege",
    L"SeProfileSingleProcessPrivilege",
    L"SeIncreaseBasePriorityPrivilege",
    L"SeCreatePagefilePrivilege",
    L"SeCreatePermanentPrivilege",
    L"SeBackupPrivilege",
    L"SeRestorePrivilege",
    L"SeShutdownPrivilege",
    L"SeDebugPrivilege",
    L"SeAuditPrivilege",
    L"SeSystemEnvironmentPrivilege",
    L"SeChangeNotifyPrivilege",
    L"SeRemoteShutdownPrivilege",
    L"SeUndockPrivilege",
    L"SeSyncAgentPrivilege",
    L"SeEnableDelegationPrivilege",
    L"SeManageVolumePrivilege",
    L"SeImpersonatePrivilege",
    L"SeCreateGlobalPrivilege",
};

PrivilegeEnabler::PrivilegeEnabler() noexcept
{
    for (const wchar_t* name : kPrivilegeNames)
    {
        UniqueKernelHandle token;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, token.Put()))
            continue;

        TOKEN_PRIVILEGES request = {};
        request.PrivilegeCount = 1;
        if (!LookupPrivilegeValueW(nullptr, name, &request.Privileges[0].Luid))
            continue;
        request.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;

        // A privilege the token does not hold "succeeds" with ERROR_NOT_ALL_ASSIGNED: that is
        // the silent case, so neither the result nor the last error is looked at.
        AdjustTokenPrivileges(token.Get(), FALSE, &request, sizeof request, nullptr, nullptr);
    }
}

namespace
{
bool g_privilegesEnabled = false;
} // namespace

void EnablePrivilegesOnce()
{
    if (g_privilegesEnabled)
        return;
    g_privilegesEnabled = true;
    const PrivilegeEnabler enabler; // its constructor does all the work
    static_cast<void>(enabler);
}
