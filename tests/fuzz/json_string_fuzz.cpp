// libFuzzer target for the JSON strings of the status report. On any UTF-16 text, lone
// surrogates and control characters included, the output must be exactly one JSON string
// as RFC 8259 defines it, must stay valid UTF-16 (it is written out as UTF-8, where a lone
// surrogate cannot go), must decode back to the very code units it was given, and must
// escape only what has to be escaped, each in its shortest form. When the buffer is too
// small, what it holds is a terminated beginning of the same string and Fits() says so.
//
// The input is the text as little-endian byte pairs (so every value lies below 0x10000,
// whatever the width of wchar_t), up to the first zero unit; its first byte also picks the
// capacity of the small buffer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_check.h"
#include "json_text.h"
#include "text_buffer.h"

namespace
{
bool IsHigh(std::uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLow(std::uint32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

enum class Form
{
    Literal,
    Short,  // \" \\ \/ \b \f \n \r \t
    Unicode // \uXXXX
};

struct Unit
{
    std::uint32_t value;
    Form form;
};

int HexValue(std::uint32_t c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A' + 10);
    return -1;
}

// A strict reader of one JSON string (RFC 8259, section 7) that must fill the whole text.
// Returns the code units it stands for and how each was written.
std::vector<Unit> ReadJsonString(const std::vector<std::uint32_t>& text)
{
    static const char kShort[] = "\"\\/bfnrt";
    static const std::uint32_t kShortValue[] = {'"', '\\', '/', '\b', '\f', '\n', '\r', '\t'};
    std::vector<Unit> units;
    Check(!text.empty() && text[0] == '"', "the string opens with a quote");
    std::size_t i = 1;
    for (;;)
    {
        Check(i < text.size(), "the string is closed");
        const std::uint32_t c = text[i++];
        if (c == '"')
            break;
        Check(c >= 0x20, "no control character stands unescaped");
        if (c != '\\')
        {
            units.push_back({c, Form::Literal});
            continue;
        }
        Check(i < text.size(), "a backslash is followed by its escape");
        const std::uint32_t e = text[i++];
        if (e == 'u')
        {
            Check(text.size() - i >= 4, "\\u has four hex digits");
            std::uint32_t value = 0;
            for (int k = 0; k < 4; ++k)
            {
                const int digit = HexValue(text[i++]);
                Check(digit >= 0, "\\u has four hex digits");
                value = value * 16 + static_cast<std::uint32_t>(digit);
            }
            units.push_back({value, Form::Unicode});
            continue;
        }
        std::size_t k = 0;
        while (kShort[k] != '\0' && static_cast<std::uint32_t>(kShort[k]) != e)
            ++k;
        Check(kShort[k] != '\0', "only the escapes JSON defines");
        units.push_back({kShortValue[k], Form::Short});
    }
    Check(i == text.size(), "nothing follows the string");
    return units;
}

bool HasShortForm(std::uint32_t unit)
{
    return unit == '"' || unit == '\\' || unit == '\b' || unit == '\f' || unit == '\n' ||
           unit == '\r' || unit == '\t';
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The code units as numbers and as the text the function takes, each terminated.
    std::vector<std::uint32_t> codes;
    for (std::size_t i = 0; i + 1 < size; i += 2)
    {
        const auto unit = static_cast<std::uint32_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0)
            break;
        codes.push_back(unit);
    }
    codes.push_back(0);
    const std::vector<wchar_t> input(codes.begin(), codes.end());
    const std::size_t count = codes.size() - 1;

    // Room for the worst case: every unit as \uXXXX, two quotes, the terminator.
    std::vector<wchar_t> storage(6 * count + 3, static_cast<wchar_t>(0x2A2A));
    TextBuffer buffer(storage.data(), storage.size());
    AddJsonString(buffer, input.data());
    Check(buffer.Fits(), "the worst case fits");
    const std::vector<std::uint32_t> output(buffer.Text(), buffer.Text() + buffer.Length());
    Check(storage[output.size()] == L'\0', "the text is terminated after Length() units");

    // Valid UTF-16 throughout: a surrogate only as the first or second half of a pair.
    for (std::size_t i = 0; i < output.size(); ++i)
    {
        Check(output[i] <= 0xFFFF, "only UTF-16 code units");
        if (IsHigh(output[i]))
        {
            Check(i + 1 < output.size() && IsLow(output[i + 1]), "a high surrogate is paired");
            ++i;
        }
        else
        {
            Check(!IsLow(output[i]), "a low surrogate is paired");
        }
    }

    const std::vector<Unit> units = ReadJsonString(output);
    Check(units.size() == count, "as many code units come back as went in");
    for (std::size_t i = 0; i < count; ++i)
    {
        const std::uint32_t in = codes[i];
        Check(units[i].value == in, "each code unit comes back as it went in");
        // What must be escaped: quote, backslash, control characters, and a surrogate that
        // is not half of a pair in the input.
        const bool paired =
            (IsHigh(in) && IsLow(codes[i + 1])) || (IsLow(in) && i > 0 && IsHigh(codes[i - 1]));
        const bool mustEscape =
            in == '"' || in == '\\' || in < 0x20 || ((IsHigh(in) || IsLow(in)) && !paired);
        Check((units[i].form != Form::Literal) == mustEscape, "escaped exactly when needed");
        if (mustEscape)
            Check((units[i].form == Form::Short) == HasShortForm(in), "the shortest escape");
    }

    // A buffer too small for it holds a terminated beginning of the same string.
    const std::size_t capacity = size == 0 ? 0 : data[0] % (output.size() + 2);
    std::vector<wchar_t> small(capacity, static_cast<wchar_t>(0x2A2A));
    TextBuffer cut(small.data(), capacity);
    AddJsonString(cut, input.data());
    Check(cut.Fits() == (capacity > output.size()), "Fits() says whether all of it fit");
    if (capacity == 0)
        return 0;
    Check(cut.Length() < capacity && small[cut.Length()] == L'\0', "the text stays terminated");
    const std::vector<std::uint32_t> beginning(cut.Text(), cut.Text() + cut.Length());
    Check(std::equal(beginning.begin(), beginning.end(), output.begin()),
          "it is a beginning of the string");
    Check(!cut.Fits() || cut.Length() == output.size(), "when it fits, all of it is there");
    return 0;
}
