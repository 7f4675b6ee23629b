#include "credential_check.h"

#include <cwchar>

#include "unique_handle.h"

DWORD CheckCredentials(const wchar_t* domain, const wchar_t* user, const wchar_t* password,
                       LogonFunction logon)
{
    // LogonUserW takes a user@domain name only without a domain; with one given, the pair
    // is checked as it will be stored.
    const bool principalName = domain[0] == L'\0' && wcschr(user, L'@') != nullptr;
    UniqueKernelHandle token;
    SetLastError(ERROR_SUCCESS);
    if (logon(user, principalName ? nullptr : domain, password, LOGON32_LOGON_INTERACTIVE,
              LOGON32_PROVIDER_DEFAULT, token.Put()))
        return ERROR_SUCCESS; // the token closes here: it is not used for anything
    const DWORD error = GetLastError();
    token.Release(); // a failed logon gives no token
    // A refusal without a reason must not read as success.
    return error != ERROR_SUCCESS ? error : static_cast<DWORD>(ERROR_LOGON_FAILURE);
}
