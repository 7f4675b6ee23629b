// Reads what decides whether Windows logs on by itself: the Winlogon values, the sign-in and
// legal-notice policies, and whether the DefaultPassword secret holds a password. Changes
// nothing, and never keeps or shows a password.
#pragma once
#include <windows.h>

#include "status_verdict.h"

// Fills `snapshot` from the 64-bit registry view (the one Windows reads at logon, also from
// a 32-bit process) and from the secret store. A value or key that cannot be read counts as
// absent; the secret counts as unknown when it cannot be read.
void ReadStatusSnapshot(StatusSnapshot& snapshot);

// Present when the DefaultPassword secret holds a non-empty value, absent when it does not
// exist or is empty, unknown when the policy cannot be opened (without administrator rights)
// or the read fails otherwise. The value is wiped and freed at once.
SecretState ReadSecretState();
