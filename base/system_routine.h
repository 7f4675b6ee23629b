// Routines looked up at run time. A static import of a routine that an older system lacks
// would keep the program from starting there; a static import of a DLL that is no KnownDLL
// would be searched for beside the program first, before its first line runs.
#pragma once
#include <windows.h>

// The routine of that name in `module` as a pointer of type Routine, or null where the module
// or the routine does not exist.
template <typename Routine>
Routine ModuleRoutine(HMODULE module, const char* name)
{
    const FARPROC routine = module != nullptr ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Routine>(reinterpret_cast<void*>(routine));
}

// The kernel32 routine of that name, or null where it does not exist.
template <typename Routine>
Routine Kernel32Routine(const char* name)
{
    return ModuleRoutine<Routine>(GetModuleHandleW(L"kernel32"), name);
}
