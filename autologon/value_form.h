// A registry value as the status and the change plans see it: absent, or its type with the
// text or number it holds. Free of Windows headers: judged and reported natively.
#pragma once
#include <cstdint>

#include "change_result.h"

// Registry types by their numbers.
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

struct ValueForm
{
    bool present = false;
    std::uint32_t type = 0;
    std::uint32_t number = 0;           // a REG_DWORD's number, when it holds four bytes
    std::uint32_t size = 0;             // the bytes the value holds
    wchar_t text[kFieldLimit + 1] = {}; // a text's first kFieldLimit characters
    bool longer = false;                // ... and it holds more
};

// A REG_SZ (or, with `expandable`, a REG_EXPAND_SZ) that holds exactly `text`.
bool IsTextValue(const ValueForm& value, const wchar_t* text, bool expandable = false);

// A REG_DWORD of four bytes, the only form that holds a number. One of another size holds
// none: it is shown as its form, never as a number.
bool IsNumberValue(const ValueForm& value);

// The form of a value that a change writes.
ValueForm TextForm(const wchar_t* text);
ValueForm NumberForm(std::uint32_t number);
