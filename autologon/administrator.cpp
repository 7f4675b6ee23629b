#include <windows.h>

#include "administrator.h"

bool RunsAsAdministrator()
{
    BYTE sid[SECURITY_MAX_SID_SIZE] = {};
    DWORD size = sizeof sid;
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size))
        return false;
    BOOL member = FALSE;
    // A null token: the effective token of this thread (or process), as Windows checks it.
    return CheckTokenMembership(nullptr, sid, &member) && member;
}
