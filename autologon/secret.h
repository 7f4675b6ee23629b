// The auto-logon password as the Local Security Authority's private data "DefaultPassword",
// which it keeps encrypted: the password never stands in the registry.
#pragma once
#include <windows.h>

// Stores `text` (never null; empty stores an empty value, it does not delete the secret).
// The secret keeps the value it replaces as its "old value": with `clearOldValue` the text is
// stored twice in the same policy session, so that the old value is `text` as well.
// Returns 0, or the Win32 error code of the call that failed. When the policy cannot be
// opened, a box "Failed call to LsaOpenPolicy" is shown (no owner, default caption); every
// failure writes one diagnostic line to standard output.
DWORD StoreDefaultPassword(const wchar_t* text, bool clearOldValue);
