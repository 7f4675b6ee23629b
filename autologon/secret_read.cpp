#include "secret_read.h"

#include <cwchar>

#include "lsa_policy.h"

namespace
{
constexpr NTSTATUS kStatusObjectNameNotFound = static_cast<NTSTATUS>(0xC0000034);
} // namespace

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
        found = !stored || data->Length == 0 ? SecretFound::Blank
                : same                       ? SecretFound::Same
                                             : SecretFound::Different;
    }
    if (data != nullptr)
    {
        if (data->Buffer != nullptr)
            SecureZeroMemory(data->Buffer, data->Length);
        LsaFreeMemory(data);
    }
    return found;
}

DWORD CopyDefaultPassword(SecretCopy& copy, bool& opened)
{
    SecureZeroMemory(copy.text, sizeof copy.text);
    copy.found = SecretFound::Unreadable;
    UniqueLsaHandle policy;
    const NTSTATUS open = OpenLocalPolicy(POLICY_GET_PRIVATE_INFORMATION, policy);
    opened = open == 0;
    if (!opened)
        return LsaNtStatusToWinError(open);
    SecretName secret;
    PLSA_UNICODE_STRING data = nullptr;
    const NTSTATUS status = LsaRetrievePrivateData(policy.Get(), &secret.name, &data);
    DWORD error =
        status == kStatusObjectNameNotFound ? ERROR_SUCCESS : LsaNtStatusToWinError(status);
    if (status == kStatusObjectNameNotFound)
        copy.found = SecretFound::NotFound;
    else if (status == 0)
    {
        const std::size_t length = data != nullptr && data->Buffer != nullptr ? data->Length : 0;
        if (length == 0)
            copy.found = SecretFound::Blank;
        else if (length < sizeof copy.text)
        {
            CopyMemory(copy.text, data->Buffer, length);
            copy.found = SecretFound::Different;
        }
        else
            error = ERROR_INSUFFICIENT_BUFFER;
    }
    if (data != nullptr)
    {
        if (data->Buffer != nullptr)
            SecureZeroMemory(data->Buffer, data->Length);
        LsaFreeMemory(data);
    }
    return error;
}
