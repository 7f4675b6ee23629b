#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "change_result.h"
#include "show_text.h"
#include "utf8_line.h"

namespace
{
struct Decoded
{
    LineStatus status;
    std::wstring text;
    bool wiped; // every unit of the buffer zero (checked on a refusal)
};

Decoded Decode(const std::string& bytes, size_t limit = kFieldLimit)
{
    std::vector<wchar_t> out(limit + 1, L'#');
    const LineStatus status = DecodeFirstLine(reinterpret_cast<const unsigned char*>(bytes.data()),
                                              bytes.size(), out.data(), limit);
    bool wiped = true;
    for (wchar_t c : out)
        wiped = wiped && c == L'\0';
    return {status, status == LineStatus::Ok ? std::wstring(out.data()) : L"", wiped};
}

} // namespace

TEST(Utf8Line, FirstLineDecoded)
{
    const struct
    {
        std::string bytes;
        std::wstring text;
    } cases[] = {
        {"hunter2", L"hunter2"},
        {"hunter2\n", L"hunter2"},
        {"hunter2\r\n", L"hunter2"},
        {"hunter2\r", L"hunter2"},              // a CR that ends the input is a line end
        {"hunter2\nsecond line\n", L"hunter2"}, // only the first line
        {"\xEF\xBB\xBFpw\r\n", L"pw"},          // a byte-order mark at the start is dropped
        {"pw\xEF\xBB\xBF", L"pw\uFEFF"},        // elsewhere it is a character like any other
        {"  spaced  \t", L"  spaced  \t"},      // nothing else is trimmed
        {"a\rb", L"a\rb"},
        {"J\xC3\xBCrgen \xE2\x82\xAC", L"J\u00fcrgen \u20ac"},
        {"\xF0\x9F\x98\x80",
         std::wstring{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)}},
        {"\xF4\x8F\xBF\xBF",
         std::wstring{static_cast<wchar_t>(0xDBFF), static_cast<wchar_t>(0xDFFF)}},
        {std::string(kFieldLimit, 'x'), std::wstring(kFieldLimit, L'x')},
        {"\xEF\xBB\xBF" + std::string(kFieldLimit, 'x') + "\r\n", std::wstring(kFieldLimit, L'x')},
    };
    for (const auto& c : cases)
    {
        const Decoded decoded = Decode(c.bytes);
        EXPECT_EQ(decoded.status, LineStatus::Ok) << Printable(c.bytes);
        EXPECT_EQ(decoded.text, c.text) << Printable(c.bytes);
    }
}

TEST(Utf8Line, RefusalsLeaveTheBufferWiped)
{
    const struct
    {
        std::string bytes;
        LineStatus status;
    } cases[] = {
        {"", LineStatus::Empty},
        {"\n", LineStatus::Empty},
        {"\r\n", LineStatus::Empty},
        {"\xEF\xBB\xBF\r\n", LineStatus::Empty},
        {"\nsecond", LineStatus::Empty},
        {std::string(kFieldLimit + 1, 'x'), LineStatus::TooLong},
        // A character beyond the BMP takes two units: one unit too many.
        {std::string(kFieldLimit - 1, 'x') + "\xF0\x9F\x98\x80", LineStatus::TooLong},
        {"pw\xFF", LineStatus::Invalid},
        {"\x80pw", LineStatus::Invalid},               // a continuation byte on its own
        {"pw\xC3", LineStatus::Invalid},               // truncated at the end
        {"pw\xC3\n", LineStatus::Invalid},             // truncated by the line end
        {"\xC0\xAF", LineStatus::Invalid},             // overlong "/"
        {"\xE0\x80\xAF", LineStatus::Invalid},         // overlong, three bytes
        {"\xED\xA0\x80", LineStatus::Invalid},         // an encoded surrogate
        {"\xF4\x90\x80\x80", LineStatus::Invalid},     // beyond U+10FFFF
        {"\xF8\x88\x80\x80\x80", LineStatus::Invalid}, // five-byte form
        {std::string("pw\0rd", 5), LineStatus::Invalid},
        // Too long as well, but the encoding is what to mend first, wherever the bad byte is.
        {std::string(kFieldLimit + 1, 'x') + "\xFC", LineStatus::Invalid},
    };
    for (const auto& c : cases)
    {
        const Decoded decoded = Decode(c.bytes);
        EXPECT_EQ(decoded.status, c.status) << Printable(c.bytes);
        EXPECT_TRUE(decoded.wiped) << Printable(c.bytes);
    }
}
