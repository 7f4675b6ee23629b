// Switching Windows automatic logon on and off: the core that the dialog and the console
// program share. It knows no window and no language; each caller reports the result its way.
// It opens the machine's keys in the view Windows reads at logon (MachineKeyView), whichever
// program calls it.
#pragma once
#include "change_result.h"

// A step of the caller's own that Set and Remove run just before they store the secret, after
// the Winlogon values are written (Remove: also when those writes failed). Null: none.
using BeforeSecretStep = void (*)();

// What Set is asked to do. No text is null; one left out is empty, which Set refuses for the
// user and the password.
struct SetRequest
{
    const wchar_t* domain = L"";
    const wchar_t* user = L"";
    const wchar_t* password = L"";
    BeforeSecretStep beforeSecret = nullptr;
};

// Switches automatic logon on for the account: AutoAdminLogon "1", DefaultDomainName and
// DefaultUserName under the Winlogon key, drops a plain-text DefaultPassword value that another
// tool may have left and an AutoLogonCount of 0, and stores the password as the
// "DefaultPassword" secret. Every value it changes is saved first; on any failure they are all
// put back, and those that could not be are listed. An empty user name or password, or a text
// over kFieldLimit, changes nothing (step Input).
ChangeResult SetAutoLogon(const SetRequest& request);

// Switches automatic logon off: AutoAdminLogon "0", a plain-text DefaultPassword value
// deleted, and the secret blanked twice so that neither its current nor its previous value
// still holds the password. The secret is blanked even when the registry part failed:
// switching off is always safe.
ChangeResult RemoveAutoLogon(BeforeSecretStep beforeSecret);
