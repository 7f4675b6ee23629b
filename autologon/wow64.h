// A 32-bit build running on 64-bit Windows (WOW64): the registry view that reaches the real
// Winlogon key, and file-system redirection.
#pragma once
#include <windows.h>

// Access flag ORed into every opening of a machine key: KEY_WOW64_64KEY (256) once the process
// is known to run under WOW64, else 0. The dialog settles it during its start-up; otherwise
// the first MachineKeyView call does.
extern DWORD g_registryView;

// The flag for every key of the machine that the core reads or writes: the view Windows reads
// at logon, which a 32-bit process under WOW64 reaches only with KEY_WOW64_64KEY (otherwise
// it lands in Wow6432Node, which Windows never reads). Whoever calls the core gets it.
REGSAM MachineKeyView();

// TRUE when this process runs under WOW64. FALSE when it does not, when IsWow64Process is
// missing, or when the call fails.
BOOL QueryWow64();

// Switches WOW64 file-system redirection of the calling thread on (TRUE) or off (FALSE).
// Does nothing where Wow64EnableWow64FsRedirection does not exist.
void SetFsRedirection(BOOLEAN enable);
