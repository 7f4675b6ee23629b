// How the settings file's text becomes a number, and the bounds a read applies. Free of
// Windows headers, so that the rules mean the same natively and in the program.
#pragma once
#include <cstddef>
#include <cstdint>

// Value 0-9 of a Unicode decimal digit (general category Nd, any script), or -1 for any
// other code point. Superscripts, circled and other "digit-like" signs are not decimal digits.
int DecimalDigitValue(char32_t codePoint);

// True for the white space that may precede a number: Unicode's White_Space characters, the
// set the platform's character classification calls space.
bool IsSettingsSpace(char32_t codePoint);

// The number at the start of `count` UTF-16 code units: optional white space, one optional
// sign, then decimal digits of any script in base 10 up to the first unit that is not one.
// Anything after the digits is ignored; no digits give 0. The arithmetic is 32-bit two's
// complement and wraps around instead of saturating (4294967301 gives 5). A digit outside
// the Basic Multilingual Plane counts only as a proper surrogate pair.
std::int32_t ParseSettingsInt(const char16_t* units, std::size_t count);

// The bounds of a read: -1 as either bound switches clamping off for both. Otherwise the
// maximum is applied first and the minimum last, so a minimum above the maximum always wins.
std::int32_t ClampSettingsInt(std::int32_t value, std::int32_t minimum, std::int32_t maximum);
