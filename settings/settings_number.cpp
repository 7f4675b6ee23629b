#include "settings_number.h"

namespace
{
// The first code point (digit zero) of every run of ten decimal digits, in ascending order.
// Unicode assigns each script's decimal digits as one contiguous run from zero to nine, so
// the start of each run is all that needs storing. Taken from UnicodeData.txt of Unicode
// 15.0 (general category Nd: 680 code points in 68 runs).
constexpr char32_t kDigitZeros[] = {
    0x0030,  0x0660,  0x06F0,  0x07C0,  0x0966,  0x09E6,  0x0A66,  0x0AE6,  0x0B66,  0x0BE6,
    0x0C66,  0x0CE6,  0x0D66,  0x0DE6,  0x0E50,  0x0ED0,  0x0F20,  0x1040,  0x1090,  0x17E0,
    0x1810,  0x1946,  0x19D0,  0x1A80,  0x1A90,  0x1B50,  0x1BB0,  0x1C40,  0x1C50,  0xA620,
    0xA8D0,  0xA900,  0xA9D0,  0xA9F0,  0xAA50,  0xABF0,  0xFF10,  0x104A0, 0x10D30, 0x11066,
    0x110F0, 0x11136, 0x111D0, 0x112F0, 0x11450, 0x114D0, 0x11650, 0x116C0, 0x11730, 0x118E0,
    0x11950, 0x11C50, 0x11D50, 0x11DA0, 0x11F50, 0x16A60, 0x16AC0, 0x16B50, 0x1D7CE, 0x1D7D8,
    0x1D7E2, 0x1D7EC, 0x1D7F6, 0x1E140, 0x1E2F0, 0x1E4F0, 0x1E950, 0x1FBF0,
};

// Unicode's White_Space property, which is also what Windows classifies as space (C1_SPACE):
// first and last code point of each range.
struct CodePointRange
{
    char32_t first;
    char32_t last;
};

constexpr CodePointRange kSpaceRanges[] = {
    {0x0009, 0x000D}, {0x0020, 0x0020}, {0x0085, 0x0085}, {0x00A0, 0x00A0}, {0x1680, 0x1680},
    {0x2000, 0x200A}, {0x2028, 0x2029}, {0x202F, 0x202F}, {0x205F, 0x205F}, {0x3000, 0x3000},
};

constexpr bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

constexpr bool IsLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Decodes the code point at units[index], one unit or a surrogate pair, and returns how many
// units it took. A lone surrogate stands for itself: it is neither space nor digit.
std::size_t DecodeAt(const char16_t* units, std::size_t count, std::size_t index,
                     char32_t& codePoint)
{
    const char16_t first = units[index];
    if (IsHighSurrogate(first) && index + 1 < count && IsLowSurrogate(units[index + 1]))
    {
        codePoint = 0x10000 + ((static_cast<char32_t>(first) - 0xD800) << 10) +
                    (static_cast<char32_t>(units[index + 1]) - 0xDC00);
        return 2;
    }
    codePoint = first;
    return 1;
}

// Two's complement reading of 32 bits, spelt out so that it does not depend on how the
// compiler converts an out-of-range unsigned value.
std::int32_t ToSigned(std::uint32_t bits)
{
    if (bits <= 0x7FFFFFFFu)
        return static_cast<std::int32_t>(bits);
    return -static_cast<std::int32_t>(~bits) - 1;
}
} // namespace

int DecimalDigitValue(char32_t codePoint)
{
    if (codePoint >= U'0' && codePoint <= U'9')
        return static_cast<int>(codePoint - U'0');
    // The last run that starts at or below the code point is the only one that can hold it.
    std::size_t low = 0;
    std::size_t high = sizeof kDigitZeros / sizeof kDigitZeros[0];
    while (low < high)
    {
        const std::size_t middle = low + (high - low) / 2;
        if (kDigitZeros[middle] <= codePoint)
            low = middle + 1;
        else
            high = middle;
    }
    if (low == 0)
        return -1;
    const char32_t offset = codePoint - kDigitZeros[low - 1];
    return offset < 10 ? static_cast<int>(offset) : -1;
}

bool IsSettingsSpace(char32_t codePoint)
{
    for (const auto& range : kSpaceRanges)
    {
        if (codePoint >= range.first && codePoint <= range.last)
            return true;
    }
    return false;
}

std::int32_t ParseSettingsInt(const char16_t* units, std::size_t count)
{
    if (units == nullptr)
        return 0;
    std::size_t index = 0;
    char32_t codePoint = 0;
    while (index < count)
    {
        const std::size_t width = DecodeAt(units, count, index, codePoint);
        if (!IsSettingsSpace(codePoint))
            break;
        index += width;
    }

    bool negative = false;
    if (index < count && (units[index] == u'-' || units[index] == u'+'))
    {
        negative = units[index] == u'-';
        ++index;
    }

    // Unsigned arithmetic wraps modulo 2^32, which is exactly the wrap-around wanted.
    std::uint32_t magnitude = 0;
    while (index < count)
    {
        const std::size_t width = DecodeAt(units, count, index, codePoint);
        const int digit = DecimalDigitValue(codePoint);
        if (digit < 0)
            break;
        magnitude = magnitude * 10u + static_cast<std::uint32_t>(digit);
        index += width;
    }
    return ToSigned(negative ? 0u - magnitude : magnitude);
}

std::int32_t ClampSettingsInt(std::int32_t value, std::int32_t minimum, std::int32_t maximum)
{
    if (minimum == -1 || maximum == -1)
        return value;
    if (value > maximum)
        value = maximum;
    if (value < minimum)
        value = minimum;
    return value;
}
