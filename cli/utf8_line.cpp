#include "utf8_line.h"

#include "unicode.h"

namespace
{
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
    bool tooLong = false;
    while (i < end)
    {
        char32_t code = 0;
        if (!DecodeUtf8(bytes, end, i, code))
            return Refuse(out, limit, LineStatus::Invalid);
        wchar_t units[2];
        const std::size_t units16 = EncodeUtf16(code, units);
        // Past the limit the rest is still checked: a line in another encoding is reported as
        // such whatever its length, or shortening it would only lead to the next refusal.
        tooLong = tooLong || length + units16 > limit;
        for (std::size_t k = 0; !tooLong && k < units16; ++k)
            out[length++] = units[k];
    }
    if (tooLong)
        return Refuse(out, limit, LineStatus::TooLong);
    out[length] = L'\0';
    return length == 0 ? Refuse(out, limit, LineStatus::Empty) : LineStatus::Ok;
}
