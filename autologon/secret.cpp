#include "secret.h"

#include <cwchar>

#include "change_result.h"
#include "lsa_policy.h"

namespace
{
DWORD Store(LSA_HANDLE policy, LSA_UNICODE_STRING& name, LSA_UNICODE_STRING& value)
{
    return LsaNtStatusToWinError(LsaStorePrivateData(policy, &name, &value));
}
} // namespace

StepFailure StoreDefaultPassword(const wchar_t* text, bool clearOldValue)
{
    USHORT length = 0;
    USHORT maximumLength = 0;
    if (!SecretLengths(wcslen(text), length, maximumLength))
        return {ChangeStep::StoreSecret, ERROR_INVALID_PARAMETER, nullptr};

    UniqueLsaHandle policy;
    if (const DWORD opened = OpenSecretPolicy(policy); opened != ERROR_SUCCESS)
        return {ChangeStep::OpenPolicy, opened, nullptr};

    SecretName secret;
    // Points at the caller's text: no copy of the password is made.
    LSA_UNICODE_STRING value = {length, maximumLength, const_cast<wchar_t*>(text)};

    DWORD code = Store(policy.Get(), secret.name, value);
    if (code == ERROR_SUCCESS && clearOldValue)
        code = Store(policy.Get(), secret.name, value);
    if (code != ERROR_SUCCESS)
        return {ChangeStep::StoreSecret, code, nullptr};
    return {};
}

StepFailure DeleteDefaultPassword()
{
    UniqueLsaHandle policy;
    if (const DWORD opened = OpenSecretPolicy(policy); opened != ERROR_SUCCESS)
        return {ChangeStep::OpenPolicy, opened, nullptr};

    SecretName secret;
    wchar_t empty[] = L"";
    LSA_UNICODE_STRING blank = {0, sizeof empty, empty};
    DWORD code = Store(policy.Get(), secret.name, blank);
    if (code == ERROR_SUCCESS)
        code = Store(policy.Get(), secret.name, blank);
    // No data at all deletes the secret, current and old value together.
    if (code == ERROR_SUCCESS)
        code = LsaNtStatusToWinError(LsaStorePrivateData(policy.Get(), &secret.name, nullptr));
    if (code != ERROR_SUCCESS)
        return {ChangeStep::StoreSecret, code, nullptr};
    return {};
}

DWORD OpenSecretPolicy(UniqueLsaHandle& policy)
{
    return LsaNtStatusToWinError(OpenLocalPolicy(POLICY_CREATE_SECRET, policy));
}
