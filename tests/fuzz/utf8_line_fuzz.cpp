// libFuzzer target for the decoder of the password line that a script pipes in or a password
// file holds. On any bytes
// it must keep within its input and its output buffer, and its answer must agree with a
// plain reading of its contract: the first line without its line end and byte-order mark is
// Empty when nothing is left, Invalid exactly when it is not well-formed UTF-8 or holds a
// null byte, TooLong when its UTF-16 does not fit the limit, and otherwise Ok with UTF-16
// that turns back into exactly the bytes of the line. Anything but Ok leaves zeros only.
//
// The first byte of the input is the limit (0 to 255), so that short inputs reach the limit
// too; the rest are the bytes piped in.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_check.h"
#include "utf8_line.h"

namespace
{
// Well-formed UTF-8 by the Unicode Standard's table of well-formed byte sequences, which
// leaves out overlong forms, surrogates and everything above U+10FFFF; and no NUL.
bool WellFormed(const std::uint8_t* bytes, std::size_t count)
{
    // Lead bytes, the sequence's length, and the range its second byte must lie in; the
    // bytes after the second lie in 80..BF.
    const struct
    {
        std::uint8_t first, last;
        std::size_t length;
        std::uint8_t low, high;
    } forms[] = {
        {0x01, 0x7F, 1, 0, 0},       {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF},
        {0xE1, 0xEC, 3, 0x80, 0xBF}, {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF},
        {0xF0, 0xF0, 4, 0x90, 0xBF}, {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
    };
    std::size_t i = 0;
    while (i < count)
    {
        std::size_t length = 0;
        for (const auto& form : forms)
        {
            if (bytes[i] < form.first || bytes[i] > form.last || count - i < form.length)
                continue;
            bool ok = form.length == 1 || (bytes[i + 1] >= form.low && bytes[i + 1] <= form.high);
            for (std::size_t k = 2; k < form.length; ++k)
                ok = ok && bytes[i + k] >= 0x80 && bytes[i + k] <= 0xBF;
            length = ok ? form.length : 0;
        }
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

// UTF-16 code units that well-formed UTF-8 needs: one per character, two from U+10000 on
// (the characters with a four-byte form).
std::size_t Utf16Length(const std::uint8_t* bytes, std::size_t count)
{
    std::size_t units = 0;
    for (std::size_t i = 0; i < count; ++i)
    {
        if ((bytes[i] & 0xC0) != 0x80)
            ++units;
        if (bytes[i] >= 0xF0)
            ++units;
    }
    return units;
}

// UTF-16 back to UTF-8. False on a value that is no UTF-16 code unit and on a surrogate
// without its partner.
bool ToUtf8(const std::vector<std::uint32_t>& units, std::vector<std::uint8_t>& out)
{
    const std::size_t count = units.size();
    for (std::size_t i = 0; i < count; ++i)
    {
        const std::uint32_t unit = units[i];
        if (unit > 0xFFFF || (unit >= 0xDC00 && unit <= 0xDFFF))
            return false;
        if (unit >= 0xD800 && unit <= 0xDBFF)
        {
            const std::uint32_t next = i + 1 < count ? units[i + 1] : 0;
            if (next < 0xDC00 || next > 0xDFFF)
                return false;
            const std::uint32_t code = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
            out.push_back(static_cast<std::uint8_t>(0xF0 | (code >> 18)));
            out.push_back(static_cast<std::uint8_t>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<std::uint8_t>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<std::uint8_t>(0x80 | (code & 0x3F)));
            ++i;
        }
        else if (unit < 0x80)
        {
            out.push_back(static_cast<std::uint8_t>(unit));
        }
        else if (unit < 0x800)
        {
            out.push_back(static_cast<std::uint8_t>(0xC0 | (unit >> 6)));
            out.push_back(static_cast<std::uint8_t>(0x80 | (unit & 0x3F)));
        }
        else
        {
            out.push_back(static_cast<std::uint8_t>(0xE0 | (unit >> 12)));
            out.push_back(static_cast<std::uint8_t>(0x80 | ((unit >> 6) & 0x3F)));
            out.push_back(static_cast<std::uint8_t>(0x80 | (unit & 0x3F)));
        }
    }
    return true;
}
// A password file's reading: UTF-16LE after its byte-order mark where UTF-16 is read, any
// other UTF-16 (a mark, or a null byte in the first two) refused as such, the rest as above.
void CheckPasswordLine(const std::vector<std::uint8_t>& bytes, std::size_t limit)
{
    std::vector<wchar_t> utf8(limit + 1, static_cast<wchar_t>(0x2A2A));
    const LineStatus plain = DecodeFirstLine(bytes.data(), bytes.size(), utf8.data(), limit);
    const bool little = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    const bool utf16Form =
        little || (bytes.size() >= 2 &&
                   ((bytes[0] == 0xFE && bytes[1] == 0xFF) || bytes[0] == 0 || bytes[1] == 0));
    for (const bool utf16 : {false, true})
    {
        std::vector<wchar_t> out(limit + 1, static_cast<wchar_t>(0x2A2A));
        const LineStatus status =
            DecodePasswordLine(bytes.data(), bytes.size(), out.data(), limit, utf16);
        if (!utf16Form)
        {
            Check(status == plain && out == utf8, "text in no form of UTF-16 is read as UTF-8");
            continue;
        }
        if (!little || !utf16)
        {
            Check(status == LineStatus::Utf16, "UTF-16 that is not read is told as such");
            for (wchar_t unit : out)
                Check(unit == 0, "a refused line leaves the buffer all zero");
            continue;
        }
        // The units after the mark, up to the first LF, without one CR before it.
        std::vector<std::uint32_t> units;
        std::size_t i = 2;
        for (; i + 1 < bytes.size(); i += 2)
        {
            const std::uint32_t unit = bytes[i] | (static_cast<std::uint32_t>(bytes[i + 1]) << 8);
            if (unit == 0x0A)
                break;
            units.push_back(unit);
        }
        const bool lineEnd = i + 1 < bytes.size();
        if (!units.empty() && units.back() == 0x0D)
            units.pop_back();
        std::vector<std::uint8_t> ignored;
        LineStatus expected = LineStatus::Ok;
        // Half a unit where the line goes on, a null, or a surrogate without its partner.
        if ((!lineEnd && bytes.size() % 2 != 0) ||
            std::find(units.begin(), units.end(), 0u) != units.end() ||
            (!units.empty() && !ToUtf8(units, ignored)))
            expected = LineStatus::Invalid;
        else if (units.empty())
            expected = LineStatus::Empty;
        else if (units.size() > limit)
            expected = LineStatus::TooLong;
        Check(status == expected, "a UTF-16 line gets the status it deserves");
        if (status == LineStatus::Ok)
            Check(std::vector<std::uint32_t>(
                      out.begin(), out.begin() + static_cast<std::ptrdiff_t>(units.size())) ==
                          units &&
                      out[units.size()] == 0,
                  "the text is the units of the line");
        else
            for (wchar_t unit : out)
                Check(unit == 0, "a refused line leaves the buffer all zero");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t limit = data[0];
    // Copies exactly as long as the input and the buffer, so that the sanitizer catches a
    // read or a write past either; the buffer starts as junk, so zeros are the decoder's.
    const std::vector<std::uint8_t> bytes(data + 1, data + size);
    CheckPasswordLine(bytes, limit);
    std::vector<wchar_t> out(limit + 1, static_cast<wchar_t>(0x2A2A));
    const LineStatus status = DecodeFirstLine(bytes.data(), bytes.size(), out.data(), limit);

    // The line: up to the first LF, without one CR before it (or at the end of the input),
    // without a byte-order mark at its start.
    std::size_t end = 0;
    while (end < bytes.size() && bytes[end] != '\n')
        ++end;
    if (end > 0 && bytes[end - 1] == '\r')
        --end;
    std::size_t begin = 0;
    if (end >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        begin = 3;
    const std::uint8_t* line = bytes.data() + begin;
    const std::size_t count = end - begin;

    LineStatus expected = LineStatus::Ok;
    if (count == 0)
        expected = LineStatus::Empty;
    else if (!WellFormed(line, count))
        expected = LineStatus::Invalid;
    else if (Utf16Length(line, count) > limit)
        expected = LineStatus::TooLong;
    Check(status == expected, "the status is the one the line deserves");

    if (status != LineStatus::Ok)
    {
        for (wchar_t unit : out)
            Check(unit == 0, "a refused line leaves the buffer all zero");
        return 0;
    }
    std::size_t length = 0;
    while (length < out.size() && out[length] != 0)
        ++length;
    Check(length < out.size(), "the text is terminated within the buffer");
    std::vector<std::uint8_t> again;
    const std::vector<std::uint32_t> text(out.begin(),
                                          out.begin() + static_cast<std::ptrdiff_t>(length));
    Check(ToUtf8(text, again), "the text is well-formed UTF-16");
    Check(again == std::vector<std::uint8_t>(line, line + count),
          "the text turns back into the bytes of the line");
    return 0;
}
