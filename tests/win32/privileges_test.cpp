// Privilege enabling on the real token of this process (Wine implements tokens).
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "privileges.h"

namespace
{
bool Enabled(const wchar_t* name)
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
bool Switch(const wchar_t* name, bool enable)
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
} // namespace

TEST(PrivilegeList, ThirtyThreeEntriesWithThreeRepeatsInOrder)
{
    EXPECT_STREQ(kPrivilegeNames[0], L"SeBackupPrivilege");
    EXPECT_STREQ(kPrivilegeNames[1], L"SeRestorePrivilege");
    EXPECT_STREQ(kPrivilegeNames[2], L"SeChangeNotifyPrivilege");
    EXPECT_STREQ(kPrivilegeNames[18], L"SeCreatePermanentPrivilege");
    EXPECT_STREQ(kPrivilegeNames[19], L"SeBackupPrivilege");
    EXPECT_STREQ(kPrivilegeNames[20], L"SeRestorePrivilege");
    EXPECT_STREQ(kPrivilegeNames[21], L"SeShutdownPrivilege");
    EXPECT_STREQ(kPrivilegeNames[25], L"SeChangeNotifyPrivilege");
    EXPECT_STREQ(kPrivilegeNames[32], L"SeCreateGlobalPrivilege");
    const std::set<std::wstring> distinct(std::begin(kPrivilegeNames), std::end(kPrivilegeNames));
    EXPECT_EQ(distinct.size(), 30u);
    // Every name but one is known to the system: a typo would be skipped silently at run
    // time. SeUnsolicitedInputPrivilege is defined but never assigned, so the lookup (which
    // the enabler skips quietly) fails for it.
    for (const wchar_t* name : kPrivilegeNames)
    {
        LUID luid = {0xdeadbeef, 0};
        const bool known = LookupPrivilegeValueW(nullptr, name, &luid) != FALSE;
        EXPECT_EQ(known, wcscmp(name, L"SeUnsolicitedInputPrivilege") != 0) << name;
    }
}

TEST(PrivilegeEnabling, EnablesHeldPrivilegesThatWereOff)
{
    const wchar_t* const probes[] = {L"SeBackupPrivilege", L"SeShutdownPrivilege",
                                     L"SeDebugPrivilege"};
    for (const wchar_t* probe : probes)
    {
        ASSERT_TRUE(Switch(probe, false)) << "this token should hold every probe";
        ASSERT_FALSE(Enabled(probe));
    }
    const PrivilegeEnabler enabler;
    static_cast<void>(enabler);
    for (const wchar_t* probe : probes)
        EXPECT_TRUE(Enabled(probe)) << probe;
}
