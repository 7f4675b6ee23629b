// Where the program may load DLLs from by name.
#pragma once
#include <windows.h>

// Lets every later load of a DLL by bare name, by the program or by the system on its
// behalf, search the system folder only: the program runs elevated from wherever it was
// saved, and a DLL that someone put beside it or into the current folder must not be
// loaded. Called first thing at start-up; holds for the whole process and cannot be undone.
// FALSE, and nothing changed, where SetDefaultDllDirectories does not exist or fails.
BOOL RestrictDllSearchToSystem();

// A system DLL that is no KnownDLL (netapi32, ...), from the system folder and nowhere else,
// whatever the search order: such a DLL is linked at run time rather than imported, since
// Windows resolves imports before the program's first line and looks beside the program
// first. Null where it cannot be loaded (also on a system that does not know the flag).
// Inline, so that a program that never calls it does not import LoadLibraryExW either.
inline HMODULE LoadSystemDll(const wchar_t* name)
{
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}
