// One registry value read whole into a heap block of its own, wiped before the block is freed:
// it may be a plain-text password, and a name or notice is none of the heap's next owner's
// business either.
#pragma once
#include <windows.h>

#include "value_form.h"

// The signature of RegQueryValueExW, so that a test can stand in for the registry read.
using QueryValueFunction = LONG(WINAPI*)(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type,
                                         LPBYTE data, LPDWORD size);

class RegistryValue
{
  public:
    // How often a value that keeps growing between asking its size and reading it is read
    // again before it counts as unreadable: Windows rewrites some of them at a logon.
    static constexpr int kAttempts = 4;

    explicit RegistryValue(HANDLE heap = GetProcessHeap(), QueryValueFunction query = nullptr)
        : heap_(heap), query_(query != nullptr ? query : RegQueryValueExW)
    {
    }
    ~RegistryValue() { Drop(); }
    RegistryValue(const RegistryValue&) = delete;
    RegistryValue& operator=(const RegistryValue&) = delete;

    // ERROR_SUCCESS once the value is read; ERROR_FILE_NOT_FOUND when it does not exist (or
    // `key` is null); ERROR_MORE_DATA when it grew between every size query and its read;
    // otherwise the registry's error. On any failure nothing is held.
    LONG Read(HKEY key, const wchar_t* name);

    bool Present() const { return present_; }
    DWORD Type() const { return type_; }
    const BYTE* Data() const { return data_; }
    DWORD Size() const { return size_; } // the bytes the value holds; never more than allocated

    // A text value (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ): its UTF-16 units up to the first null
    // (stored text need not be terminated); false for any other type or none.
    bool Text(const wchar_t*& text, DWORD& length) const;
    // True for a text value that holds any character at all (REG_MULTI_SZ: in any string).
    bool HasText() const;
    // A REG_DWORD of four bytes.
    bool Number(DWORD& number) const;

    // Writes the value back as it was read, or deletes it if it did not exist.
    LONG Restore(HKEY key, const wchar_t* name) const;

  private:
    void Drop();

    HANDLE heap_;
    QueryValueFunction query_;
    bool present_ = false;
    DWORD type_ = REG_NONE;
    BYTE* data_ = nullptr;
    DWORD allocated_ = 0; // what HeapAlloc gave: the one size ever read, wiped or freed by
    DWORD size_ = 0;
};

// The value as status and the change plans see it: absent, or its type with its number or
// the first kFieldLimit characters of its text.
void DescribeValue(const RegistryValue& value, ValueForm& form);
