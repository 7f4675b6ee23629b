// The settings file's number rules: white space, sign, decimal digits of any script in base
// 10, trailing text ignored, 32-bit wrap-around; and the bounds of a read.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "settings_number.h"

namespace
{
std::int32_t Parse(const std::u16string& text)
{
    return ParseSettingsInt(text.data(), text.size());
}

// Prints UTF-16 units in hex, so a failing case says what it parsed.
std::string Units(const std::u16string& text)
{
    std::string out;
    for (char16_t unit : text)
    {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "%04X ", static_cast<unsigned>(unit));
        out += buffer;
    }
    return out;
}

struct ParseCase
{
    // cppcheck-suppress unusedStructMember ; read through the initializer lists below
    std::u16string text;
    std::int32_t value;
};

void ExpectAll(const std::initializer_list<ParseCase>& cases)
{
    for (const auto& c : cases)
        EXPECT_EQ(Parse(c.text), c.value) << "units: " << Units(c.text);
}

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
} // namespace

TEST(SettingsNumber, BaseTenWithOneOptionalSignAndTrailingTextIgnored)
{
    ExpectAll({
        {u"12", 12},   {u"abc", 0},    {u"-3", -3},
        {u"+4", 4},    {u"9x", 9},     {u"0x10", 0},
        {u"012", 12},  {u"12abc", 12}, {u"", 0},
        {u"-", 0},     {u"+", 0},      {u"--5", 0},
        {u"+-5", 0},   {u"-+5", 0},    {u"-0", 0},
        {u"5 6", 5},   {u"1e3", 1},    {u"3.9", 3},
        {u"1,000", 1}, {u"x12", 0},    {u"00000000000000000000042", 42},
        {u"-007", -7},
    });
}

TEST(SettingsNumber, LeadingWhiteSpaceOfAnyKindIsSkippedButNotAfterTheSign)
{
    ExpectAll({
        {u" \t\n\v\f\r7", 7},
        {u"\u00A08", 8},   // no-break space
        {u"\u0085-8", -8}, // next line
        {u"\u30009", 9},   // ideographic space
        {u"\u2003\u2009\u202F\u205F\u16806", 6},
        {u"\u2028\u20293", 3}, // line and paragraph separators
        {u"- 5", 0},           // the sign must touch the digits
        {u"\u200B5", 0},       // zero-width space is not white space
        {u"\uFEFF5", 0},       // nor is a byte order mark
        {u"\u001C5", 0},       // information separators are not white space either
        {u"_5", 0},
    });
}

TEST(SettingsNumber, DecimalDigitsOfEveryScriptCount)
{
    ExpectAll({
        {u"\uFF11\uFF12\uFF13", 123},  // full-width
        {u"-\uFF15", -5},              // ASCII sign, full-width digit
        {u"1\uFF123", 123},            // scripts may mix
        {u"\u0664\u0662", 42},         // Arabic-Indic
        {u"\u06F7", 7},                // extended Arabic-Indic
        {u"\u0967\u0966", 10},         // Devanagari
        {u"\u0E59", 9},                // Thai
        {u"\u1049\u1040", 90},         // Myanmar
        {u"\uA9D3", 3},                // Javanese
        {u"\U0001D7CF\U0001D7D0", 12}, // mathematical bold, as surrogate pairs
        {u"\U0001D7FF", 9},            // the last mathematical monospace digit
        {u"\U0001E952", 2},            // Adlam
        {u"\U0001FBF7", 7},            // segmented digits
        {u"\U000104A4", 4},            // Osmanya
        {u"\U00011F55", 5},            // Kawi
        {u"4\U0001D7D7", 49},          // BMP and supplementary mixed
    });
}

TEST(SettingsNumber, DigitLookalikesAreNotDecimalDigits)
{
    ExpectAll({
        {u"\u00B2", 0},       // superscript two
        {u"1\u00B2", 1},      // stops at the superscript
        {u"\u00B9\u00B3", 0}, // superscripts one and three
        {u"\u2070\u2074", 0}, // superscripts zero and four
        {u"\u2082", 0},       // subscript two
        {u"\u2460", 0},       // circled one
        {u"\u216B", 0},       // Roman numeral twelve
        {u"\u4E94", 0},       // CJK five
        {u"\u1369", 0},       // Ethiopic digit one (a number, not a decimal digit)
        {u"\u19DA", 0},       // New Tai Lue tham digit one
        {u"\uFF0D5", 0},      // full-width hyphen-minus is not a sign
        {u"\u22125", 0},      // minus sign is not a sign either
        {u"\U0001F101", 0},   // digit zero comma
    });
}

TEST(SettingsNumber, BrokenSurrogatesEndTheNumber)
{
    ExpectAll({
        {u"1\xD835", 1},                       // high surrogate at the end
        {std::u16string(u"\xD835") + u"5", 0}, // high surrogate without its low half
        {u"\xDFCF", 0},                        // lone low surrogate (would be bold one with a high)
        {u"7\xDFCF\xD835", 7},
    });
    // A pair cut off by the count is not read past the count.
    const char16_t units[] = {u'1', 0xD835, 0xDFCF};
    EXPECT_EQ(ParseSettingsInt(units, 2), 1);
    EXPECT_EQ(ParseSettingsInt(units, 3), 11);
}

TEST(SettingsNumber, ArithmeticWrapsAroundAt32Bits)
{
    ExpectAll({
        {u"2147483647", kMax},
        {u"2147483648", kMin},
        {u"-2147483648", kMin},
        {u"-2147483649", kMax},
        {u"4294967295", -1},
        {u"4294967296", 0},
        {u"4294967301", 5},
        {u"-4294967296", 0},
        {u"-4294967297", -1},
        {u"10000000000", 1410065408},
        {u"99999999999", 1215752191},
        {u"-99999999999", -1215752191},
        {u"6442450947", -2147483645},
        {u"\uFF14\uFF12\uFF19\uFF14\uFF19\uFF16\uFF17\uFF13\uFF10\uFF11", 5}, // full-width
    });
}

TEST(SettingsNumber, StopsAtTheCountAndAtTheTerminator)
{
    const char16_t text[] = u"123";
    EXPECT_EQ(ParseSettingsInt(text, 2), 12);
    EXPECT_EQ(ParseSettingsInt(text, 0), 0);
    const char16_t withZero[] = {u'1', 0, u'2'};
    EXPECT_EQ(ParseSettingsInt(withZero, 3), 1);
    EXPECT_EQ(ParseSettingsInt(nullptr, 5), 0);
}

TEST(SettingsNumber, DigitTableCoversExactlyTheDecimalDigits)
{
    const struct
    {
        char32_t codePoint;
        int value;
    } cases[] = {
        {U'/', -1},     {U'0', 0},      {U'9', 9},        {U':', -1},    {0x0000, -1},
        {0x065F, -1},   {0x0660, 0},    {0x0669, 9},      {0x066A, -1},  {0xFF0F, -1},
        {0xFF10, 0},    {0xFF19, 9},    {0xFF1A, -1},     {0x1D7CD, -1}, {0x1D7CE, 0},
        {0x1D7D8, 0},   {0x1D7FF, 9},   {0x1D800, -1},    {0x1FBF9, 9},  {0x1FBFA, -1},
        {0x10FFFF, -1}, {0x110000, -1}, {0xFFFFFFFF, -1}, {0x00B2, -1},  {0xD835, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecimalDigitValue(c.codePoint), c.value) << std::hex << c.codePoint;

    // Unicode 15.0 has 680 decimal digits in 68 runs of zero to nine.
    int perValue[10] = {};
    int total = 0;
    for (char32_t cp = 0; cp < 0x110000; ++cp)
    {
        const int value = DecimalDigitValue(cp);
        ASSERT_GE(value, -1) << std::hex << cp;
        ASSERT_LE(value, 9) << std::hex << cp;
        if (value >= 0)
        {
            ++total;
            ++perValue[value];
            // Each digit's zero lies the digit's value below it.
            ASSERT_EQ(DecimalDigitValue(cp - static_cast<char32_t>(value)), 0) << std::hex << cp;
        }
    }
    EXPECT_EQ(total, 680);
    for (int value = 0; value < 10; ++value)
        EXPECT_EQ(perValue[value], 68) << value;
}

TEST(SettingsNumber, WhiteSpaceIsUnicodeWhiteSpace)
{
    int total = 0;
    for (char32_t cp = 0; cp < 0x110000; ++cp)
        total += IsSettingsSpace(cp) ? 1 : 0;
    // U+0009-000D, U+0020, U+0085, U+00A0, U+1680, U+2000-200A, U+2028, U+2029, U+202F,
    // U+205F, U+3000.
    EXPECT_EQ(total, 25);
    for (char32_t cp :
         {0x09u, 0x0Du, 0x20u, 0x85u, 0xA0u, 0x1680u, 0x2000u, 0x200Au, 0x2029u, 0x3000u})
        EXPECT_TRUE(IsSettingsSpace(cp)) << std::hex << cp;
    for (char32_t cp : {0x08u, 0x0Eu, 0x1Fu, 0x21u, 0x200Bu, 0x180Eu, 0xFEFFu, 0x3001u})
        EXPECT_FALSE(IsSettingsSpace(cp)) << std::hex << cp;
}

TEST(SettingsClamp, BoundsAndTheirSwitch)
{
    const struct
    {
        std::int32_t value, minimum, maximum, expected;
    } cases[] = {
        {0, 1, 10, 1},
        {11, 1, 10, 10},
        {5, 1, 10, 5},
        {1, 1, 10, 1},
        {10, 1, 10, 10},
        {kMin, 1, 10, 1},
        {kMax, 1, 10, 10},
        {-7, -10, -2, -7},
        {-20, -10, -2, -10},
        // A minimum above the maximum always wins.
        {0, 10, 1, 10},
        {5, 10, 1, 10},
        {50, 10, 1, 10},
        {kMin, 10, 1, 10},
        {kMax, 10, 1, 10},
        // -1 as either bound switches clamping off for both.
        {50, -1, 10, 50},
        {-50, -1, 10, -50},
        {50, 1, -1, 50},
        {-50, 1, -1, -50},
        {kMin, -1, -1, kMin},
        {kMax, -1, -1, kMax},
        // -2 is an ordinary bound.
        {-50, -2, 10, -2},
        {50, -2, 10, 10},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampSettingsInt(c.value, c.minimum, c.maximum), c.expected)
            << c.value << " in [" << c.minimum << ", " << c.maximum << "]";
}
