#include "wow64.h"

#include "system_routine.h"

DWORD g_registryView = 0;

namespace
{
// Both routines are looked up at run time: older systems lack them.
using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
using EnableFsRedirectionFn = BOOLEAN(WINAPI*)(BOOLEAN);

IsWow64ProcessFn g_isWow64Process = nullptr;
} // namespace

REGSAM MachineKeyView()
{
    // The answer cannot change while the process runs; a 64-bit process asks again each
    // time, which costs a look-up in kernel32.
    if (g_registryView == 0 && QueryWow64())
        g_registryView = KEY_WOW64_64KEY;
    return g_registryView;
}

BOOL QueryWow64()
{
    BOOL wow64 = FALSE;
    g_isWow64Process = Kernel32Routine<IsWow64ProcessFn>("IsWow64Process");
    if (g_isWow64Process != nullptr && !g_isWow64Process(GetCurrentProcess(), &wow64))
        wow64 = FALSE;
    return wow64;
}

void SetFsRedirection(BOOLEAN enable)
{
    const auto routine = Kernel32Routine<EnableFsRedirectionFn>("Wow64EnableWow64FsRedirection");
    if (routine != nullptr)
        routine(enable);
}
