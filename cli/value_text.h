// Registry values and names as tarvelin-cli shows them, to people and in JSON.
#pragma once
#include "text_buffer.h"
#include "value_form.h"

// A name that is longer than any a logon uses is shown up to that length, marked as cut.
extern const wchar_t kCutMark[];

// How a value stands, for people, type included: REG_DWORD 1, REG_SZ "1 ", REG_BINARY.
void AddForm(TextBuffer& out, const ValueForm& value);

// A value as a change lists it: of the `expected` type (REG_SZ or REG_DWORD), a text as it is
// and a number as its digits; any other form as its form, so that a text "3" where a number
// belongs, or a number of the wrong size, never reads as a number; `absent` when there is none.
void AddPlainValue(TextBuffer& out, const ValueForm& value, std::uint32_t expected,
                   const char* absent);

// A name as a JSON string, marked where it was cut.
void AddJsonName(TextBuffer& out, const wchar_t* name, bool longer);

// A registry value in JSON: null when absent, a REG_DWORD of four bytes as a number, a REG_SZ
// as a string where text is `expected`, any other form as {"type":"REG_...","value":text}
// (the value only for text types; "bytes" for a REG_DWORD of another size).
void AddJsonValue(TextBuffer& out, const ValueForm& value, std::uint32_t expected = kRegSz);
