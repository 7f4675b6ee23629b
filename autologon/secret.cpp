#include "secret.h"

#include <cwchar>

#include "change_result.h"
#include "lsa_policy.h"

namespace
{
constexpr NTSTATUS kStatusObjectNameNotFound = static_cast<NTSTATUS>(0xC0000034);

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
    const NTSTATUS opened = OpenLocalPolicy(POLICY_CREATE_SECRET, policy);
    if (opened != 0)
        return {ChangeStep::OpenPolicy, LsaNtStatusToWinError(opened), nullptr};

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

SecretFound InspectDefaultPassword(const wchar_t* password)
{
    UniqueLsaHandle policy;
    if (OpenLocalPolicy(POLICY_GET_PRIVATE_INFORMATION, policy) != 0)
        return SecretFound::Unreadable;

    SecretName secret;
    PLSA_UNICODE_STRING data = nullptr;
    const NTSTATUS status = LsaRetrievePrivateData(policy.Get(), &secret.name, &data);
    SecretFound found = SecretFound::Unreadable;
    if (status == kStatusObjectNameNotFound)
        found = SecretFound::NotFound;
    else if (status == 0)
    {
        const bool stored = data != nullptr && data->Buffer != nullptr;
        const bool same = SameSecretBytes(
            stored ? reinterpret_cast<const unsigned char*>(data->Buffer) : nullptr,
            stored ? data->Length : 0u, reinterpret_cast<const unsigned char*>(password),
            wcslen(password) * sizeof(wchar_t));
        found = same ? SecretFound::Same : SecretFound::Different;
    }
    if (data != nullptr)
    {
        if (data->Buffer != nullptr)
            SecureZeroMemory(data->Buffer, data->Length);
        LsaFreeMemory(data);
    }
    return found;
}
