// Privilege enabling on the real token of this process (Wine implements tokens).
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "privileges.h"
#include "token_util.h"

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
        ASSERT_TRUE(SwitchPrivilege(probe, false)) << "this token should hold every probe";
        ASSERT_FALSE(PrivilegeEnabled(probe));
    }
    const PrivilegeEnabler enabler;
    static_cast<void>(enabler);
    for (const wchar_t* probe : probes)
        EXPECT_TRUE(PrivilegeEnabled(probe)) << probe;
}
