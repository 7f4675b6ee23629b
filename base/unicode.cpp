#include "unicode.h"

bool DecodeUtf8(const unsigned char* bytes, std::size_t end, std::size_t& i, char32_t& code)
{
    const unsigned char lead = bytes[i];
    std::size_t extra = 0;
    char32_t minimum = 0;
    if (lead < 0x80)
    {
        code = lead;
        ++i;
        return lead != 0; // a null byte would end a password early
    }
    if ((lead & 0xE0) == 0xC0)
    {
        extra = 1;
        minimum = 0x80;
        code = lead & 0x1Fu;
    }
    else if ((lead & 0xF0) == 0xE0)
    {
        extra = 2;
        minimum = 0x800;
        code = lead & 0x0Fu;
    }
    else if ((lead & 0xF8) == 0xF0)
    {
        extra = 3;
        minimum = 0x10000;
        code = lead & 0x07u;
    }
    else
        return false;
    if (end - i <= extra)
        return false;
    for (std::size_t k = 1; k <= extra; ++k)
    {
        if (!IsUtf8Continuation(bytes[i + k]))
            return false;
        code = (code << 6) | (bytes[i + k] & 0x3Fu);
    }
    i += extra + 1;
    return code >= minimum && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

std::size_t EncodeUtf16(char32_t code, wchar_t (&units)[2])
{
    if (code < 0x10000)
    {
        units[0] = static_cast<wchar_t>(code);
        return 1;
    }
    code -= 0x10000;
    units[0] = static_cast<wchar_t>(0xD800 + (code >> 10));
    units[1] = static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    return 2;
}
