#include "autologon.h"

#include <windows.h>

#include "registry_value.h"
#include "secret.h"
#include "unique_handle.h"
#include "winlogon_values.h"
#include "winlogon_write.h"
#include "wow64.h"

namespace
{
// Counts no further than one character past the limit.
bool FieldFits(const wchar_t* text, bool mayBeEmpty)
{
    std::size_t length = 0;
    while (length <= kFieldLimit && text[length] != L'\0')
        ++length;
    return length <= kFieldLimit && (mayBeEmpty || length > 0);
}

// Runs the writes in order and stops at the first that fails.
StepFailure WriteSetValues(HKEY key, const SetRequest& request, const RegistryValue& count)
{
    // A count of 0 would switch automatic logon off again at the next start.
    DWORD number = 1;
    const bool usedUp = count.Number(number) && number == 0;
    const struct
    {
        const wchar_t* name; // null: leave it
        const wchar_t* text; // null: delete the value
    } writes[] = {
        {kAutoAdminLogon, L"1"},
        {kDefaultDomainName, request.domain},
        {kDefaultUserName, request.user},
        {kDefaultPassword, nullptr},
        {usedUp ? kAutoLogonCount : nullptr, nullptr},
    };
    for (const auto& w : writes)
    {
        if (w.name == nullptr)
            continue;
        const LONG result =
            w.text == nullptr ? DeleteIfPresent(key, w.name) : WriteText(key, w.name, w.text);
        if (result != ERROR_SUCCESS)
            return RegistryFailure(ChangeStep::WriteValue, result, w.name);
    }
    return {};
}

void RunStep(BeforeSecretStep step)
{
    if (step != nullptr)
        step();
}
} // namespace

ChangeResult SetAutoLogon(const SetRequest& request)
{
    ChangeResult result;
    if (!FieldFits(request.domain, true) || !FieldFits(request.user, false) ||
        !FieldFits(request.password, false))
    {
        result.registry = RegistryFailure(ChangeStep::Input, ERROR_INVALID_PARAMETER);
        return result;
    }

    // Read access as well: what Set changes is saved first.
    UniqueRegKey key;
    result.registry = OpenWinlogonKey(KEY_WRITE | KEY_QUERY_VALUE, key);
    if (result.registry.step != ChangeStep::None)
        return result;

    const wchar_t* const changed[] = {kAutoAdminLogon, kDefaultDomainName, kDefaultUserName,
                                      kDefaultPassword, kAutoLogonCount};
    static_assert(ARRAYSIZE(changed) <= ARRAYSIZE(result.unrestored), "room for every value");
    // Each copy is wiped when dropped: it may be a plain-text password. A value that keeps
    // changing while it is read stops Set before it changes anything.
    RegistryValue saved[ARRAYSIZE(changed)];
    for (size_t i = 0; i < ARRAYSIZE(changed); ++i)
    {
        const LONG read = saved[i].Read(key.Get(), changed[i]);
        if (read != ERROR_SUCCESS && read != ERROR_FILE_NOT_FOUND)
        {
            result.registry = RegistryFailure(ChangeStep::SaveValue, read, changed[i]);
            return result; // nothing changed yet
        }
    }

    result.registry = WriteSetValues(key.Get(), request, saved[4]);
    if (result.registry.step == ChangeStep::None)
    {
        RunStep(request.beforeSecret);
        // Stored once: if this fails, the secret keeps what it held before.
        result.secret = StoreDefaultPassword(request.password, false);
    }
    if (result.Done())
        return result;

    // Put the machine back as it was. A value that cannot be put back is beyond repair here,
    // but the caller must not tell the user that nothing changed.
    for (size_t i = ARRAYSIZE(saved); i-- > 0;)
    {
        const LONG restored = saved[i].Restore(key.Get(), changed[i]);
        if (restored != ERROR_SUCCESS)
            result.unrestored[result.unrestoredCount++] = {changed[i],
                                                           static_cast<std::uint32_t>(restored)};
    }
    return result;
}

ChangeResult RemoveAutoLogon(BeforeSecretStep beforeSecret)
{
    ChangeResult result;
    UniqueRegKey key;
    result.registry = OpenWinlogonKey(KEY_WRITE, key);
    if (result.registry.step == ChangeStep::None)
    {
        if (const LONG written = WriteText(key.Get(), kAutoAdminLogon, L"0");
            written != ERROR_SUCCESS)
            result.registry = RegistryFailure(ChangeStep::WriteValue, written, kAutoAdminLogon);
        else if (const LONG deleted = DeleteIfPresent(key.Get(), kDefaultPassword);
                 deleted != ERROR_SUCCESS)
            result.registry = RegistryFailure(ChangeStep::WriteValue, deleted, kDefaultPassword);
    }

    // The secret is blanked even when the registry failed: that direction is always safe.
    // Twice, so that its old value no longer holds the password either.
    RunStep(beforeSecret);
    const wchar_t empty[] = L"";
    result.secret = StoreDefaultPassword(empty, true);
    return result;
}
