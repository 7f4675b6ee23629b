#include "account_double.h"

#include "account_check.h"

namespace
{
AccountDouble g_accounts;

LPBYTE Allocate(DWORD bytes)
{
    LPVOID buffer = nullptr;
    NetApiBufferAllocate(bytes, &buffer);
    ZeroMemory(buffer, bytes);
    return static_cast<LPBYTE>(buffer);
}

NET_API_STATUS WINAPI DoubleUserGetInfo(LPCWSTR server, LPCWSTR user, DWORD level, LPBYTE* buffer)
{
    g_accounts.asked.push_back(user);
    g_accounts.serverGiven = g_accounts.serverGiven || server != nullptr;
    *buffer = nullptr;
    if (g_accounts.userStatus != NERR_Success || level != 1)
        return g_accounts.userStatus != NERR_Success ? g_accounts.userStatus
                                                     : static_cast<DWORD>(ERROR_INVALID_LEVEL);
    *buffer = Allocate(sizeof(USER_INFO_1));
    reinterpret_cast<USER_INFO_1*>(*buffer)->usri1_flags = g_accounts.flags;
    return NERR_Success;
}

NET_API_STATUS WINAPI DoubleJoinInformation(LPCWSTR, LPWSTR* name, PNETSETUP_JOIN_STATUS status)
{
    const auto bytes = static_cast<DWORD>((g_accounts.joinedName.size() + 1) * sizeof(wchar_t));
    *name = reinterpret_cast<LPWSTR>(Allocate(bytes));
    CopyMemory(*name, g_accounts.joinedName.c_str(), bytes);
    *status = g_accounts.joined;
    return NERR_Success;
}
} // namespace

AccountDouble& ResetAccountDouble()
{
    g_accounts = AccountDouble{};
    return g_accounts;
}

const AccountRoutines& AccountDatabase()
{
    // Neither the dates nor the policy: a test of them stands in end to end.
    static const AccountRoutines routines = {DoubleUserGetInfo, DoubleJoinInformation,
                                             NetApiBufferFree, nullptr, nullptr};
    static const AccountRoutines none = {};
    return g_accounts.netapiMissing ? none : routines;
}
