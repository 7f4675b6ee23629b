// Windows' own words for an error, as tarvelin-cli adds them beside its number: what a test
// expects depends on the Windows (or Wine) it runs on and on the user's language.
#pragma once
#include <windows.h>

#include <cwchar>
#include <string>

// In UTF-8: whole for JSON, without the final full stop for a sentence.
inline std::string SystemWords(DWORD error, bool json = false)
{
    wchar_t text[256] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                      FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                  nullptr, error, 0, text, ARRAYSIZE(text), nullptr);
    while (length > 0 && wcschr(json ? L" \r\n" : L" \r\n.", text[length - 1]) != nullptr)
        --length;
    char utf8[768] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), utf8, sizeof utf8, nullptr,
                        nullptr);
    return utf8;
}

// "(error 5: Access is denied)" in English.
inline std::string ErrorWords(DWORD error, const char* word = "error")
{
    return std::string("(") + word + " " + std::to_string(error) + ": " + SystemWords(error) + ")";
}
