#include "autologon.h"

#include <windows.h>

#include <cwchar>

#include "secret.h"
#include "unique_handle.h"
#include "winlogon_values.h"
#include "wow64.h"

namespace
{
LONG WriteText(HKEY key, const wchar_t* name, const wchar_t* text)
{
    const auto bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

LONG DeleteIfPresent(HKEY key, const wchar_t* name)
{
    const LONG result = RegDeleteValueW(key, name);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

StepFailure Failure(ChangeStep step, LONG error, const wchar_t* value = nullptr)
{
    return {step, static_cast<std::uint32_t>(error), value};
}

// A value as it stood before Set, so that a failed Set can put it back, or delete it if it
// did not exist. The copy is wiped when dropped: it may be a plain-text password.
class SavedValue
{
  public:
    SavedValue() = default;
    ~SavedValue()
    {
        if (data_ != nullptr)
        {
            SecureZeroMemory(data_, size_);
            HeapFree(GetProcessHeap(), 0, data_);
        }
    }
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;

    // ERROR_SUCCESS also when the value does not exist.
    LONG Save(HKEY key, const wchar_t* name)
    {
        name_ = name;
        DWORD size = 0;
        LONG result = RegQueryValueExW(key, name, nullptr, &type_, nullptr, &size);
        if (result == ERROR_FILE_NOT_FOUND)
            return ERROR_SUCCESS;
        if (result != ERROR_SUCCESS)
            return result;
        if (size > 0)
        {
            data_ = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, size));
            if (data_ == nullptr)
                return ERROR_NOT_ENOUGH_MEMORY;
            size_ = size;
            // A value that grew in between gives ERROR_MORE_DATA: then Set does not start.
            result = RegQueryValueExW(key, name, nullptr, &type_, data_, &size);
            if (result != ERROR_SUCCESS)
                return result;
            size_ = size;
        }
        present_ = true;
        return ERROR_SUCCESS;
    }

    LONG Restore(HKEY key) const
    {
        if (!present_)
            return DeleteIfPresent(key, name_);
        return RegSetValueExW(key, name_, 0, type_, data_, size_);
    }

    bool IsZeroNumber() const
    {
        DWORD number = 1;
        if (!present_ || type_ != REG_DWORD || size_ != sizeof number)
            return false;
        CopyMemory(&number, data_, sizeof number);
        return number == 0;
    }

  private:
    const wchar_t* name_ = nullptr;
    bool present_ = false;
    DWORD type_ = REG_NONE;
    DWORD size_ = 0;
    BYTE* data_ = nullptr;
};

// Counts no further than one character past the limit.
bool FieldFits(const wchar_t* text, bool mayBeEmpty)
{
    std::size_t length = 0;
    while (length <= kFieldLimit && text[length] != L'\0')
        ++length;
    return length <= kFieldLimit && (mayBeEmpty || length > 0);
}

// Runs the writes in order and stops at the first that fails.
StepFailure WriteSetValues(HKEY key, const wchar_t* domain, const wchar_t* user,
                           bool dropLogonCount)
{
    const struct
    {
        const wchar_t* name;
        const wchar_t* text; // null: delete the value
    } writes[] = {
        {kAutoAdminLogon, L"1"},     {kDefaultDomainName, domain}, {kDefaultUserName, user},
        {kDefaultPassword, nullptr}, {kAutoLogonCount, nullptr},
    };
    for (const auto& write : writes)
    {
        if (write.name == kAutoLogonCount && !dropLogonCount)
            continue;
        const LONG result = write.text != nullptr ? WriteText(key, write.name, write.text)
                                                  : DeleteIfPresent(key, write.name);
        if (result != ERROR_SUCCESS)
            return Failure(ChangeStep::WriteValue, result, write.name);
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
        result.registry = Failure(ChangeStep::Input, ERROR_INVALID_PARAMETER);
        return result;
    }

    // Read access as well: what Set changes is saved first.
    UniqueRegKey key;
    const LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWinlogonPath, 0,
                                      KEY_WRITE | KEY_QUERY_VALUE | MachineKeyView(), key.Put());
    if (opened != ERROR_SUCCESS)
    {
        key.Release(); // nothing was opened
        result.registry = Failure(ChangeStep::OpenKey, opened);
        return result;
    }

    const wchar_t* const changed[] = {kAutoAdminLogon, kDefaultDomainName, kDefaultUserName,
                                      kDefaultPassword, kAutoLogonCount};
    static_assert(ARRAYSIZE(changed) <= ARRAYSIZE(result.unrestored), "room for every value");
    SavedValue saved[ARRAYSIZE(changed)];
    for (size_t i = 0; i < ARRAYSIZE(changed); ++i)
    {
        const LONG read = saved[i].Save(key.Get(), changed[i]);
        if (read != ERROR_SUCCESS)
        {
            result.registry = Failure(ChangeStep::SaveValue, read, changed[i]);
            return result; // nothing changed yet
        }
    }

    result.registry =
        WriteSetValues(key.Get(), request.domain, request.user, saved[4].IsZeroNumber());
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
        const LONG restored = saved[i].Restore(key.Get());
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
    const LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWinlogonPath, 0,
                                      KEY_WRITE | MachineKeyView(), key.Put());
    if (opened != ERROR_SUCCESS)
    {
        key.Release(); // nothing was opened
        result.registry = Failure(ChangeStep::OpenKey, opened);
    }
    else if (const LONG written = WriteText(key.Get(), kAutoAdminLogon, L"0");
             written != ERROR_SUCCESS)
        result.registry = Failure(ChangeStep::WriteValue, written, kAutoAdminLogon);
    else if (const LONG deleted = DeleteIfPresent(key.Get(), kDefaultPassword);
             deleted != ERROR_SUCCESS)
        result.registry = Failure(ChangeStep::WriteValue, deleted, kDefaultPassword);

    // The secret is blanked even when the registry failed: that direction is always safe.
    // Twice, so that its old value no longer holds the password either.
    RunStep(beforeSecret);
    const wchar_t empty[] = L"";
    result.secret = StoreDefaultPassword(empty, true);
    return result;
}
