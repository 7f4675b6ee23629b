#include "account_check.h"
#include "dll_search.h"
#include "system_routine.h"

namespace
{
AccountRoutines g_routines; // null until looked up
bool g_lookedUp = false;
} // namespace

const AccountRoutines& AccountDatabase()
{
    // On first use: most commands never ask. The DLL stays loaded for the rest of the process.
    if (!g_lookedUp)
    {
        g_lookedUp = true;
        const HMODULE netapi32 = LoadSystemDll(L"netapi32.dll");
        g_routines.userGetInfo =
            ModuleRoutine<decltype(g_routines.userGetInfo)>(netapi32, "NetUserGetInfo");
        g_routines.joinInformation =
            ModuleRoutine<decltype(g_routines.joinInformation)>(netapi32, "NetGetJoinInformation");
        g_routines.bufferFree =
            ModuleRoutine<decltype(g_routines.bufferFree)>(netapi32, "NetApiBufferFree");
        g_routines.modalsGet =
            ModuleRoutine<decltype(g_routines.modalsGet)>(netapi32, "NetUserModalsGet");
        g_routines.userSetInfo =
            ModuleRoutine<decltype(g_routines.userSetInfo)>(netapi32, "NetUserSetInfo");
    }
    return g_routines;
}
