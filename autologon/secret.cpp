#include "secret.h"

#include <ntsecapi.h>

#include <cwchar>

#include "change_result.h"
#include "unique_handle.h"

namespace
{
// The policy handle, closed on every way out.
struct LsaHandleTraits
{
    using Handle = LSA_HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { LsaClose(handle); }
};
using UniqueLsaHandle = UniqueHandle<LsaHandleTraits>;

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

    LSA_OBJECT_ATTRIBUTES attributes = {};
    UniqueLsaHandle policy;
    const NTSTATUS opened = LsaOpenPolicy(nullptr, &attributes, POLICY_CREATE_SECRET, policy.Put());
    if (opened != 0)
    {
        // A failed open leaves nothing to close; the handle stays null.
        policy.Release();
        return {ChangeStep::OpenPolicy, LsaNtStatusToWinError(opened), nullptr};
    }

    wchar_t secretName[] = L"DefaultPassword";
    LSA_UNICODE_STRING name = {sizeof secretName - sizeof(wchar_t), sizeof secretName, secretName};
    // Points at the caller's text: no copy of the password is made.
    LSA_UNICODE_STRING value = {length, maximumLength, const_cast<wchar_t*>(text)};

    DWORD code = Store(policy.Get(), name, value);
    if (code == ERROR_SUCCESS && clearOldValue)
        code = Store(policy.Get(), name, value);
    if (code != ERROR_SUCCESS)
        return {ChangeStep::StoreSecret, code, nullptr};
    return {};
}
