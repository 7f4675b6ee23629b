// Registry values and names as tarvelin-cli shows them, to people and in JSON.
#pragma once
#include "text_buffer.h"
#include "value_form.h"

// A name that is longer than any a logon uses is shown up to that length, marked as cut.
extern const wchar_t kCutMark[];

// How a value stands, for people, type included: REG_DWORD 1, REG_SZ "1 ", REG_BINARY.
void AddForm(TextBuffer& out, const ValueForm& value);

// A value as a change lists it: a REG_SZ's text as it is, a REG_DWORD's number, any other
// type as its form; `absent` when there is none.
void AddPlainValue(TextBuffer& out, const ValueForm& value, const char* absent);

// A name as a JSON string, marked where it was cut.
void AddJsonName(TextBuffer& out, const wchar_t* name, bool longer);

// A registry value in JSON: null when absent, a REG_SZ as a string, a REG_DWORD as a number,
// any other type as {"type":"REG_...","value":text} (the value only for text types).
void AddJsonValue(TextBuffer& out, const ValueForm& value);
