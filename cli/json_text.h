// JSON strings for the status report.
#pragma once
#include "text_buffer.h"

// Adds `text` as a JSON string, quotes included: quotes and backslashes escaped, control
// characters as \b \f \n \r \t or \u00XX, every other character as it is (the output turns
// it into UTF-8). A surrogate without its partner cannot be written as UTF-8 at all, so it
// is written as its \uXXXX escape: the output stays valid UTF-8 and still says exactly what
// the registry holds.
void AddJsonString(TextBuffer& out, const wchar_t* text);
