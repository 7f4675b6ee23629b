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

namespace
{
// The first line of UTF-16LE text (after its byte-order mark): surrogates in pairs, no null.
LineStatus DecodeUtf16Line(const unsigned char* bytes, std::size_t count, wchar_t* out,
                           std::size_t limit)
{
    const std::size_t units = count / 2;
    std::size_t end = 0;
    const auto unit = [bytes](std::size_t i) {
        return static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    };
    while (end < units && unit(end) != L'\n')
        ++end;
    if (end == units && count % 2 != 0)
        return Refuse(out, limit, LineStatus::Invalid); // half a unit where the line goes on
    if (end > 0 && unit(end - 1) == L'\r')
        --end;
    // Every unit is looked at first: text in another form is told as such, whatever its
    // length.
    for (std::size_t i = 0; i < end; ++i)
    {
        const wchar_t c = unit(i);
        const bool paired = IsHighSurrogate(c) && i + 1 < end && IsLowSurrogate(unit(i + 1));
        if (c == L'\0' || (IsHighSurrogate(c) && !paired) || IsLowSurrogate(c))
            return Refuse(out, limit, LineStatus::Invalid);
        i += paired ? 1 : 0;
    }
    if (end > limit)
        return Refuse(out, limit, LineStatus::TooLong);
    for (std::size_t i = 0; i < end; ++i)
        out[i] = unit(i);
    out[end] = L'\0';
    return end == 0 ? Refuse(out, limit, LineStatus::Empty) : LineStatus::Ok;
}
} // namespace

LineStatus DecodePasswordLine(const unsigned char* bytes, std::size_t count, wchar_t* out,
                              std::size_t limit, bool utf16)
{
    const bool little = count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    if (little && utf16)
        return DecodeUtf16Line(bytes + 2, count - 2, out, limit);
    const bool big = count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
    if (little || big || (count >= 2 && (bytes[0] == 0 || bytes[1] == 0)))
        return Refuse(out, limit, LineStatus::Utf16);
    return DecodeFirstLine(bytes, count, out, limit);
}
