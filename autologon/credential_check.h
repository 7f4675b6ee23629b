// Asks Windows whether a user could log on interactively with a password, before automatic
// logon is switched on with it: a mistyped password would otherwise stop the machine at the
// logon screen at its next start, with nobody at the keyboard.
#pragma once
#include <windows.h>

// The signature of LogonUserW. The check takes the function as an argument so that a test
// can hand it a double: mingw declares LogonUserW as a DLL import, which a test program
// cannot replace at link time as it replaces the (non-import) Lsa* calls.
using LogonFunction = BOOL(WINAPI*)(LPCWSTR user, LPCWSTR domain, LPCWSTR password, DWORD logonType,
                                    DWORD logonProvider, PHANDLE token);

// 0 when `logon` (LogonUserW for an interactive logon with the default provider) accepts
// the user, domain and password; otherwise the Win32 error it gave (ERROR_LOGON_FAILURE when
// it failed without one). The token is closed at once. A user name in the user@domain form
// with an empty domain is checked with no domain, as LogonUserW requires for that form.
DWORD CheckCredentials(const wchar_t* domain, const wchar_t* user, const wchar_t* password,
                       LogonFunction logon = LogonUserW);
