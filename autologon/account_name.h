// Account and domain names as Windows compares them: ordinal, without regard to letter case.
// Windows itself writes DefaultUserName back in the letters of the account at a console logon.
#pragma once
#include <windows.h>

inline bool SameAccountName(const wchar_t* a, const wchar_t* b)
{
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}
