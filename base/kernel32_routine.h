// Optional kernel32 routines, looked up at run time: a static import of a routine that an
// older system lacks would keep the program from starting there.
#pragma once
#include <windows.h>

// The routine of that name as a pointer of type Routine, or null where it does not exist.
template <typename Routine>
Routine Kernel32Routine(const char* name)
{
    HMODULE kernel32 = GetModuleHandleW(L"kernel32");
    const FARPROC routine = kernel32 != nullptr ? GetProcAddress(kernel32, name) : nullptr;
    return reinterpret_cast<Routine>(reinterpret_cast<void*>(routine));
}
