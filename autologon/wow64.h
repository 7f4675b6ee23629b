// A 32-bit build running on 64-bit Windows (WOW64): the registry view that reaches the real
// Winlogon key, and file-system redirection.
#pragma once
#include <windows.h>

// Access flag the writer ORs into its opening of the Winlogon key: KEY_WOW64_64KEY (256) once
// the dialog has found that the process runs under WOW64, else 0.
extern DWORD g_registryView;

// TRUE when this process runs under WOW64. FALSE when it does not, when IsWow64Process is
// missing, or when the call fails.
BOOL QueryWow64();

// Switches WOW64 file-system redirection of the calling thread on (TRUE) or off (FALSE).
// Does nothing where Wow64EnableWow64FsRedirection does not exist.
void SetFsRedirection(BOOLEAN enable);
