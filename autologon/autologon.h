// Switching Windows automatic logon on and off: the core that the dialog and the console
// program share. It knows no window and no language; each caller reports the result its way.
#pragma once
#include "change_result.h"

// Switches automatic logon on for the account: AutoAdminLogon "1", DefaultDomainName and
// DefaultUserName under the Winlogon key (in the registry view the WOW64 step chose), drops
// a plain-text DefaultPassword value and an AutoLogonCount of 0 that another tool may have
// left, and stores the password as the "DefaultPassword" secret. Every value it changes is
// saved first; on any failure they are all put back, and those that could not be are listed.
// An empty user name or password, or a text over kFieldLimit, changes nothing (step Input).
ChangeResult SetAutoLogon(const wchar_t* domain, const wchar_t* user, const wchar_t* password);

// Switches automatic logon off: AutoAdminLogon "0", a plain-text DefaultPassword value
// deleted, and the secret blanked twice so that neither its current nor its previous value
// still holds the password. The secret is blanked even when the registry part failed:
// switching off is always safe.
ChangeResult RemoveAutoLogon();
