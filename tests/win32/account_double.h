// Stand-ins for the local account database and the domain membership: this program's
// AccountDatabase() hands them out in place of netapi32's routines. Under Wine, NetUserGetInfo
// knows only the user that runs Wine; a disabled, locked or expired account needs a stand-in.
#pragma once
#include <windows.h>

#include <lm.h>

#include <string>
#include <vector>

struct AccountDouble
{
    // NetUserGetInfo: this status, and with NERR_Success these flags (level 1).
    NET_API_STATUS userStatus = NERR_UserNotFound;
    DWORD flags = 0;
    std::vector<std::wstring> asked; // the user names asked about, the server null each time
    bool serverGiven = false;

    bool netapiMissing = false; // AccountDatabase() finds no routine at all

    // NetGetJoinInformation: as Wine answers, a workgroup.
    NETSETUP_JOIN_STATUS joined = NetSetupWorkgroupName;
    std::wstring joinedName = L"WORKGROUP";
};

// Fresh answers and records; every test that reads the status starts with this.
AccountDouble& ResetAccountDouble();
