// Text in fixed buffers. Every function keeps within the buffer's capacity (in characters,
// terminator included) and leaves a terminated text, so a composed path, title or address
// can never run past its buffer, whatever the inputs. Free of Windows headers.
#pragma once
#include <cstddef>

// The number of elements of an array, for the portable code (ARRAYSIZE is Windows').
template <typename T, std::size_t N>
constexpr std::size_t CountOf(const T (&)[N])
{
    return N;
}

template <typename Char>
std::size_t TextLength(const Char* text)
{
    std::size_t length = 0;
    while (text[length] != Char())
        ++length;
    return length;
}

// A character with an ASCII capital made small; any other as it is. For names the program
// knows (option names, trace levels, registry class ids), never for account names, which
// Windows compares with its own table.
inline wchar_t AsciiLower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Whether `text` is exactly `name` (ASCII, small letters), ASCII letters in any case.
inline bool IsAsciiNameAnyCase(const wchar_t* text, const char* name)
{
    std::size_t i = 0;
    for (; name[i] != '\0'; ++i)
    {
        if (AsciiLower(text[i]) != static_cast<wchar_t>(name[i]))
            return false;
    }
    return text[i] == L'\0';
}

// Appends text to the terminated text in buffer. Returns false, and leaves the buffer as it
// was, when the result would not fit.
template <typename Char>
bool AppendText(Char* buffer, std::size_t capacity, const Char* text)
{
    const std::size_t used = TextLength(buffer);
    if (used >= capacity)
        return false;
    std::size_t i = 0;
    for (; text[i] != Char(); ++i)
    {
        if (used + i + 1 >= capacity)
        {
            buffer[used] = Char(); // back to the text it held
            return false;
        }
        buffer[used + i] = text[i];
    }
    buffer[used + i] = Char();
    return true;
}

// Copies the first `count` characters of text (all of it when it is shorter) into buffer and
// terminates it. Returns false, and leaves an empty text, when they would not fit.
template <typename Char>
bool CopyText(Char* buffer, std::size_t capacity, const Char* text,
              std::size_t count = static_cast<std::size_t>(-1))
{
    if (capacity == 0)
        return false;
    std::size_t length = 0;
    while (length < count && text[length] != Char())
        ++length;
    if (length >= capacity)
    {
        buffer[0] = Char();
        return false;
    }
    for (std::size_t i = 0; i < length; ++i)
        buffer[i] = text[i];
    buffer[length] = Char();
    return true;
}
