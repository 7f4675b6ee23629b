// Where the program may load DLLs from by name.
#pragma once
#include <windows.h>

// Lets every later load of a DLL by bare name, by the program or by the system on its
// behalf, search the system folder only: the program runs elevated from wherever it was
// saved, and a DLL that someone put beside it or into the current folder must not be
// loaded. Called first thing at start-up; holds for the whole process and cannot be undone.
// FALSE, and nothing changed, where SetDefaultDllDirectories does not exist or fails.
BOOL RestrictDllSearchToSystem();
