// Standard output, standard error and the password: a console gets UTF-16 through the
// console calls; a file or pipe gets UTF-8 without a byte-order mark.
#pragma once
#include <windows.h>

#include "change_result.h"
#include "utf8_line.h"

void WriteOut(const wchar_t* text);
void WriteErr(const wchar_t* text); // errors and refusals
// The program's own UTF-8 texts.
void WriteOut(const char* utf8);
void WriteErr(const char* utf8);

// A password of at most kFieldLimit characters. Wiped when it goes out of scope.
struct PasswordBuffer
{
    PasswordBuffer() = default;
    ~PasswordBuffer() { SecureZeroMemory(text, sizeof text); }
    PasswordBuffer(const PasswordBuffer&) = delete;
    PasswordBuffer& operator=(const PasswordBuffer&) = delete;

    wchar_t text[kFieldLimit + 1] = {};
};

// Reads the password: typed at the prompt without echo when standard input is a console
// (its mode is put back afterwards, and on Ctrl+C), otherwise the first line of standard
// input as UTF-8. Every intermediate copy is wiped. On Invalid from a failed read, `error`
// holds the Win32 error (otherwise 0).
LineStatus ReadPassword(const char* prompt, PasswordBuffer& password, DWORD& error);
