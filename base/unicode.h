// One character at a time between UTF-8 and UTF-16: the password line read from a script,
// the program's own texts, JSON strings and console output all go through these.
#pragma once
#include <cstddef>

inline bool IsHighSurrogate(wchar_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

inline bool IsLowSurrogate(wchar_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

inline bool IsUtf8Continuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes the character at bytes[i], which ends before bytes[end], and moves i past it.
// False on anything that is not well-formed UTF-8 (bad, overlong or truncated sequences,
// surrogates) and on a null byte.
bool DecodeUtf8(const unsigned char* bytes, std::size_t end, std::size_t& i, char32_t& code);

// The UTF-16 code units of a character: one, or a surrogate pair. Returns how many.
std::size_t EncodeUtf16(char32_t code, wchar_t (&units)[2]);
