// The opening and the writes of the Winlogon key, shared by the dialog's Set and Remove and by
// the change plans that the console program carries out.
#pragma once
#include <windows.h>

#include <cwchar>

#include "change_result.h"
#include "unique_handle.h"
#include "winlogon_values.h"
#include "wow64.h"

// A failed step with the registry's error, and the value it was about.
inline StepFailure RegistryFailure(ChangeStep step, LONG error, const wchar_t* value = nullptr)
{
    return {step, static_cast<std::uint32_t>(error), value};
}

// Opens the Winlogon key for `access`, in the view Windows reads at logon. Step None, or
// OpenKey with the registry's error and `key` left empty.
inline StepFailure OpenWinlogonKey(REGSAM access, UniqueRegKey& key)
{
    const LONG opened =
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWinlogonPath, 0, access | MachineKeyView(), key.Put());
    if (opened == ERROR_SUCCESS)
        return {};
    key.Release(); // nothing was opened
    return RegistryFailure(ChangeStep::OpenKey, opened);
}

// A text's bytes as the registry stores them, terminator included.
inline DWORD TextBytes(const wchar_t* text)
{
    return static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
}

inline LONG WriteText(HKEY key, const wchar_t* name, const wchar_t* text)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          TextBytes(text));
}

// Deleting a value that is not there is no failure: it is gone either way.
inline LONG DeleteIfPresent(HKEY key, const wchar_t* name)
{
    const LONG result = RegDeleteValueW(key, name);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}
