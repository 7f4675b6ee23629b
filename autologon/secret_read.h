// Reading the DefaultPassword secret, for the console program only: whether it holds a given
// password, and whether it holds one at all. The stored value never leaves these functions.
#pragma once
#include "change_plan.h"

// Whether the secret holds exactly `password` (Same or Different), is empty (Blank), or does
// not exist at all (NotFound); Unreadable when the policy cannot be opened or the read fails. The
// stored value is compared in place, in a time that does not depend on where it differs, and wiped
// and freed at once.
SecretFound InspectDefaultPassword(const wchar_t* password);
