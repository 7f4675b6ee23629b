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
