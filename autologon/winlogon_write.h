// The writes of the Winlogon values, shared by the dialog's Set and Remove and by the change
// plans that the console program carries out.
#pragma once
#include <windows.h>

#include <cwchar>

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
