#include "utf8_line.h"

namespace
{
bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes one character at bytes[i]; false on anything that is not well-formed UTF-8.
bool DecodeOne(const unsigned char* bytes, std::size_t end, std::size_t& i, char32_t& code)
{
    const unsigned char lead = bytes[i];
    std::size_t extra = 0;
    char32_t minimum = 0;
    if (lead < 0x80)
    {
        code = lead;
        ++i;
        return lead != 0; // a null byte would end the password early
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
        if (!IsContinuation(bytes[i + k]))
            return false;
        code = (code << 6) | (bytes[i + k] & 0x3Fu);
    }
    i += extra + 1;
    return code >= minimum && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

LineStatus Refuse(wchar_t* out, std::size_t limit, LineStatus status)
{
    for (std::size_t k = 0; k <= limit; ++k)
        out[k] = L'\0';
    return status;
}
} // namespace

LineStatus DecodeFirstLine(const unsigned char* bytes, std::size_t count, wchar_t* out,
                           std::size_t limit)
{
    std::size_t end = 0;
    while (end < count && bytes[end] != '\n')
        ++end;
    if (end > 0 && bytes[end - 1] == '\r')
        --end;
    std::size_t i = 0;
    if (end >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        i = 3;

    std::size_t length = 0;
    while (i < end)
    {
        char32_t code = 0;
        if (!DecodeOne(bytes, end, i, code))
            return Refuse(out, limit, LineStatus::Invalid);
        const std::size_t units = code >= 0x10000 ? 2 : 1;
        if (length + units > limit)
            return Refuse(out, limit, LineStatus::TooLong);
        if (units == 2)
        {
            code -= 0x10000;
            out[length++] = static_cast<wchar_t>(0xD800 + (code >> 10));
            out[length++] = static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
        }
        else
            out[length++] = static_cast<wchar_t>(code);
    }
    out[length] = L'\0';
    return length == 0 ? Refuse(out, limit, LineStatus::Empty) : LineStatus::Ok;
}
