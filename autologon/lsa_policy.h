// The Local Security Authority's policy and the name of the auto-logon secret, shared by the
// code that stores the secret and the code that only asks whether it holds a value.
#pragma once
#include <windows.h>

#include <ntsecapi.h>

#include "unique_handle.h"

// The policy handle, closed on every way out.
struct LsaHandleTraits
{
    using Handle = LSA_HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { LsaClose(handle); }
};
using UniqueLsaHandle = UniqueHandle<LsaHandleTraits>;

// Opens the local computer's policy for `access`; the status of the open. A failed open
// leaves `policy` empty.
inline NTSTATUS OpenLocalPolicy(ACCESS_MASK access, UniqueLsaHandle& policy)
{
    LSA_OBJECT_ATTRIBUTES attributes = {};
    const NTSTATUS opened = LsaOpenPolicy(nullptr, &attributes, access, policy.Put());
    if (opened != 0)
        policy.Release(); // nothing was opened, so nothing is closed
    return opened;
}

// The secret's name as LSA takes it: 15 characters, the terminator not counted. It points at
// `text`, which the caller provides because LSA wants it writable.
struct SecretName
{
    SecretName() = default;
    SecretName(const SecretName&) = delete; // `name` points into this object
    SecretName& operator=(const SecretName&) = delete;

    wchar_t text[16] = L"DefaultPassword";
    LSA_UNICODE_STRING name = {sizeof text - sizeof(wchar_t), sizeof text, text};
};
