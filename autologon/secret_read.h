// Reading the DefaultPassword secret, for the console program only: whether it holds a given
// password, and whether it holds one at all. The stored value never leaves these functions.
#pragma once
#include <windows.h>

#include "change_plan.h"

// Whether the secret holds exactly `password` (Same or Different), is empty (Blank), or does
// not exist at all (NotFound); Unreadable when the policy cannot be opened or the read fails. The
// stored value is compared in place, in a time that does not depend on where it differs, and wiped
// and freed at once.
SecretFound InspectDefaultPassword(const wchar_t* password);

// The secret's value as it stood before a change, kept so that it can be put back should a
// later step fail. Wiped when it goes out of scope.
struct SecretCopy
{
    SecretCopy() = default;
    ~SecretCopy() { SecureZeroMemory(text, sizeof text); }
    SecretCopy(const SecretCopy&) = delete;
    SecretCopy& operator=(const SecretCopy&) = delete;

    SecretFound found = SecretFound::Unreadable; // NotFound, Blank or Different once copied
    wchar_t text[1024] = {};
};

// Copies the secret's current value into `copy`: NotFound, Blank, or Different with its text.
// ERROR_SUCCESS; or the Win32 error of the read (ERROR_INSUFFICIENT_BUFFER for a value longer
// than a copy holds), with `copy` left Unreadable and empty. `opened` says whether the policy
// opened, so that a caller can name the step that failed.
DWORD CopyDefaultPassword(SecretCopy& copy, bool& opened);
