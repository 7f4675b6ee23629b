// The state a set or remove starts from, read before anything is written: the Winlogon values
// it may touch, in the 64-bit view that Windows reads, and what the secret holds.
#pragma once
#include "change_plan.h"

// Fills `state`. With a `password` (set), the secret is compared with it; without (remove),
// it is only found blank, holding something, or not at all. A DefaultPassword value is only ever
// found present or absent, holding text or not: its text is not copied. A value that exists but
// cannot be read is marked so.
void ReadChangeState(ChangeState& state, const wchar_t* password);
