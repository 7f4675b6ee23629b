// Why Windows refused a logon, in the few kinds a user can act on. Pure logic over Win32
// error numbers, tested natively; autologon/credential_check.h asks Windows.
#pragma once

enum class CredentialReason
{
    Accepted,            // Windows would log this user on with this password
    WrongNameOrPassword, // unknown user or wrong password
    PasswordExpired,     // expired, or must be changed at the next logon
    AccountRestricted,   // disabled, locked out, expired, or outside its hours or computers
    LogonTypeNotGranted, // interactive logon is not granted to the user on this machine
    NotChecked           // anything else: the check itself failed (no domain controller, ...)
};

// The reason for the Win32 error that the logon gave (0 = accepted).
CredentialReason ReasonForLogonError(unsigned long error);
