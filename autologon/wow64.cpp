#include "wow64.h"

DWORD g_registryView = 0;

namespace
{
using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
using EnableFsRedirectionFn = BOOLEAN(WINAPI*)(BOOLEAN);

// Both routines are looked up at run time: older systems lack them, and a static import
// would keep the program from starting there.
FARPROC Kernel32Routine(const char* name)
{
    HMODULE kernel32 = GetModuleHandleW(L"kernel32");
    return kernel32 != nullptr ? GetProcAddress(kernel32, name) : nullptr;
}

IsWow64ProcessFn g_isWow64Process = nullptr;
} // namespace

BOOL QueryWow64()
{
    BOOL wow64 = FALSE;
    g_isWow64Process = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void*>(Kernel32Routine("IsWow64Process")));
    if (g_isWow64Process != nullptr && !g_isWow64Process(GetCurrentProcess(), &wow64))
        wow64 = FALSE;
    return wow64;
}

void SetFsRedirection(BOOLEAN enable)
{
    const auto routine = reinterpret_cast<EnableFsRedirectionFn>(
        reinterpret_cast<void*>(Kernel32Routine("Wow64EnableWow64FsRedirection")));
    if (routine != nullptr)
        routine(enable);
}
