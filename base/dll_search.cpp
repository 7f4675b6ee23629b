#include "dll_search.h"

#include "system_routine.h"

BOOL RestrictDllSearchToSystem()
{
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto routine = Kernel32Routine<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
    return routine != nullptr && routine(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
