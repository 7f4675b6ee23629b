// This process's own token, read and switched directly, to see what the program changed.
#pragma once
#include <windows.h>

inline bool PrivilegeEnabled(const wchar_t* name)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    PRIVILEGE_SET query = {};
    query.PrivilegeCount = 1;
    LookupPrivilegeValueW(nullptr, name, &query.Privilege[0].Luid);
    BOOL enabled = FALSE;
    PrivilegeCheck(token, &query, &enabled);
    CloseHandle(token);
    return enabled != FALSE;
}

// True when the token holds the privilege and it is now in the wanted state.
inline bool SwitchPrivilege(const wchar_t* name, bool enable)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token))
        return false;
    TOKEN_PRIVILEGES request = {};
    request.PrivilegeCount = 1;
    LookupPrivilegeValueW(nullptr, name, &request.Privileges[0].Luid);
    request.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    SetLastError(0xdeadbeef);
    const BOOL ok = AdjustTokenPrivileges(token, FALSE, &request, sizeof request, nullptr, nullptr);
    const DWORD error = GetLastError();
    CloseHandle(token);
    return ok && error == ERROR_SUCCESS;
}
