// libFuzzer target for the settings number parser: it must never read out of bounds or
// overflow on any UTF-16 input, and on ASCII it must agree with a plain reference parser,
// also when the digits are spelt in full-width or mathematical-bold form.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_check.h"
#include "settings_number.h"

namespace
{
// The rules on ASCII, written as plainly as possible, in 64-bit arithmetic reduced to 32 bits.
std::int32_t Reference(const std::vector<char16_t>& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= 9 && text[i] <= 13)))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    long long value = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        value = (value * 10 + (text[i++] - u'0')) % 4294967296LL;
    if (negative)
        value = (4294967296LL - value) % 4294967296LL;
    return static_cast<std::int32_t>(value >= 2147483648LL ? value - 4294967296LL : value);
}

std::int32_t Parse(const std::vector<char16_t>& text)
{
    return ParseSettingsInt(text.data(), text.size());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Any UTF-16: pairs of bytes, little-endian, lone surrogates and all. The copy is exactly
    // as long as the text, so the sanitizer catches a read past the count.
    std::vector<char16_t> units(size / 2);
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    const std::int32_t any = Parse(units);
    // Text after the number never changes it.
    units.push_back(u'x');
    Check(Parse(units) == any, "text after the number never changes it");

    // ASCII: the same bytes folded to 7 bits, against the reference.
    std::vector<char16_t> ascii(size);
    for (std::size_t i = 0; i < size; ++i)
        ascii[i] = static_cast<char16_t>(data[i] & 0x7F);
    const std::int32_t expected = Reference(ascii);
    Check(Parse(ascii) == expected, "ASCII reads as the reference reads it");

    // The same number in full-width digits, and in mathematical bold digits (surrogate pairs).
    std::vector<char16_t> wide;
    std::vector<char16_t> bold;
    for (char16_t unit : ascii)
    {
        const bool digit = unit >= u'0' && unit <= u'9';
        wide.push_back(digit ? static_cast<char16_t>(0xFF10 + (unit - u'0')) : unit);
        if (digit)
        {
            bold.push_back(0xD835);
            bold.push_back(static_cast<char16_t>(0xDFCE + (unit - u'0')));
        }
        else
        {
            bold.push_back(unit);
        }
    }
    Check(Parse(wide) == expected, "full-width digits read as ASCII ones");
    Check(Parse(bold) == expected, "mathematical bold digits read as ASCII ones");
    return 0;
}
