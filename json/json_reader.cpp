#include "json_reader.h"

#include "unicode.h"
#include "wipe.h"

namespace
{
enum class Char : unsigned char
{
    Unit,     // a character: `code` holds it
    Quote,    // the string's closing quote (not passed)
    Syntax,   // a control character, an unknown escape, or the input ends
    Encoding, // not UTF-8, or a surrogate escape without its partner
};

bool IsDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

bool ReadHex4(const unsigned char* bytes, std::size_t end, std::size_t at, char32_t& unit)
{
    if (end - at < 4)
        return false;
    unit = 0;
    for (std::size_t k = at; k < at + 4; ++k)
    {
        const unsigned char c = bytes[k];
        char32_t digit = 0;
        if (IsDigit(c))
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10u;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10u;
        else
            return false;
        unit = unit * 16 + digit;
    }
    return true;
}

// The character of a string at bytes[i] (before `end`), with i moved past it: one UTF-8
// character, or one escape (both escapes of a surrogate pair for a character beyond the BMP).
Char ReadChar(const unsigned char* bytes, std::size_t end, std::size_t& i, char32_t& code)
{
    if (i >= end)
        return Char::Syntax;
    const unsigned char c = bytes[i];
    if (c == '"')
        return Char::Quote;
    if (c < 0x20)
        return Char::Syntax;
    if (c != '\\')
        return DecodeUtf8(bytes, end, i, code) ? Char::Unit : Char::Encoding;
    if (end - i < 2)
        return Char::Syntax;
    static const char kEscapes[] = "\"\\/bfnrt";
    static const char kMeanings[] = "\"\\/\b\f\n\r\t";
    for (std::size_t k = 0; kEscapes[k] != '\0'; ++k)
    {
        if (bytes[i + 1] == static_cast<unsigned char>(kEscapes[k]))
        {
            code = static_cast<unsigned char>(kMeanings[k]);
            i += 2;
            return Char::Unit;
        }
    }
    if (bytes[i + 1] != 'u' || !ReadHex4(bytes, end, i + 2, code))
        return Char::Syntax;
    i += 6;
    if (code >= 0xDC00 && code <= 0xDFFF)
        return Char::Encoding;
    if (code < 0xD800 || code > 0xDBFF)
        return Char::Unit;
    char32_t low = 0;
    if (end - i < 6 || bytes[i] != '\\' || bytes[i + 1] != 'u' ||
        !ReadHex4(bytes, end, i + 2, low) || low < 0xDC00 || low > 0xDFFF)
        return Char::Encoding;
    i += 6;
    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    return Char::Unit;
}
} // namespace

JsonToken JsonReader::Fail(JsonError error, std::size_t offset)
{
    error_ = error;
    errorOffset_ = offset;
    return token_ = JsonToken::Error;
}

void JsonReader::SkipWhitespace()
{
    while (pos_ < size_ && (bytes_[pos_] == ' ' || bytes_[pos_] == '\t' || bytes_[pos_] == '\n' ||
                            bytes_[pos_] == '\r'))
        ++pos_;
}

JsonToken JsonReader::Next()
{
    if (token_ == JsonToken::Error || token_ == JsonToken::End)
        return token_;
    SkipWhitespace();
    const unsigned char c = pos_ < size_ ? bytes_[pos_] : 0;
    const bool object = depth_ > 0 && (objects_ & (1u << (depth_ - 1))) != 0;
    switch (expect_)
    {
    case Expect::Nothing:
        if (pos_ != size_)
            return Fail(JsonError::Syntax, pos_);
        return token_ = JsonToken::End;
    case Expect::ValueOrClose:
    case Expect::KeyOrClose:
    case Expect::CommaOrClose:
        if (c == static_cast<unsigned char>(object ? '}' : ']'))
        {
            ++pos_;
            --depth_;
            return AfterValue(object ? JsonToken::ObjectEnd : JsonToken::ArrayEnd);
        }
        if (expect_ == Expect::CommaOrClose)
        {
            if (c != ',')
                return Fail(JsonError::Syntax, pos_);
            ++pos_;
            SkipWhitespace();
        }
        return object ? Key() : Value();
    case Expect::Key:
        return Key();
    case Expect::Value:
        break;
    }
    return Value();
}

JsonToken JsonReader::AfterValue(JsonToken token)
{
    expect_ = depth_ == 0 ? Expect::Nothing : Expect::CommaOrClose;
    return token_ = token;
}

JsonToken JsonReader::Open(JsonToken token, bool object)
{
    if (depth_ == kJsonMaxDepth)
        return Fail(JsonError::Depth, pos_);
    ++pos_;
    if (object)
    {
        objects_ |= 1u << depth_;
        members_[depth_] = 0;
    }
    else
    {
        objects_ &= ~(1u << depth_);
    }
    ++depth_;
    expect_ = object ? Expect::KeyOrClose : Expect::ValueOrClose;
    return token_ = token;
}

JsonToken JsonReader::Value()
{
    if (pos_ == size_)
        return Fail(JsonError::Syntax, pos_);
    const unsigned char c = bytes_[pos_];
    if (c == '{' || c == '[')
        return Open(c == '{' ? JsonToken::ObjectStart : JsonToken::ArrayStart, c == '{');
    if (c == '"')
        return ScanString() ? AfterValue(JsonToken::String) : token_;
    if (c == '-' || IsDigit(c))
        return ScanNumber() ? AfterValue(JsonToken::Number) : token_;
    static const struct
    {
        const char* text;
        JsonToken token;
    } kLiterals[] = {
        {"true", JsonToken::True}, {"false", JsonToken::False}, {"null", JsonToken::Null}};
    for (const auto& literal : kLiterals)
    {
        std::size_t k = 0;
        while (literal.text[k] != '\0' && pos_ + k < size_ &&
               bytes_[pos_ + k] == static_cast<unsigned char>(literal.text[k]))
            ++k;
        if (literal.text[k] == '\0')
        {
            pos_ += k;
            return AfterValue(literal.token);
        }
    }
    return Fail(JsonError::Syntax, pos_);
}

JsonToken JsonReader::Key()
{
    if (pos_ == size_ || bytes_[pos_] != '"')
        return Fail(JsonError::Syntax, pos_);
    const std::size_t start = pos_;
    if (!ScanString())
        return token_;
    const unsigned int object = depth_ - 1;
    if (members_[object] == kJsonMaxMembers)
        return Fail(JsonError::Members, start);
    if (IsDuplicate())
        return Fail(JsonError::DuplicateKey, start);
    keys_[object][members_[object]++] = tokenStart_;
    SkipWhitespace();
    if (pos_ == size_ || bytes_[pos_] != ':')
        return Fail(JsonError::Syntax, pos_);
    ++pos_;
    expect_ = Expect::Value;
    return token_ = JsonToken::Key;
}

bool JsonReader::ScanString()
{
    std::size_t i = pos_ + 1;
    for (;;)
    {
        char32_t code = 0;
        const std::size_t at = i;
        const Char read = ReadChar(bytes_, size_, i, code);
        if (read == Char::Quote)
            break;
        if (read != Char::Unit)
        {
            Fail(read == Char::Encoding ? JsonError::Encoding : JsonError::Syntax, at);
            return false;
        }
    }
    tokenStart_ = pos_ + 1;
    tokenEnd_ = i;
    pos_ = i + 1;
    return true;
}

bool JsonReader::ScanNumber()
{
    const std::size_t start = pos_;
    std::size_t i = pos_;
    if (bytes_[i] == '-')
        ++i;
    // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    bool ok = i < size_ && IsDigit(bytes_[i]);
    if (ok && bytes_[i] == '0')
        ++i;
    else
        while (i < size_ && IsDigit(bytes_[i]))
            ++i;
    if (ok && i < size_ && bytes_[i] == '.')
    {
        ok = ++i < size_ && IsDigit(bytes_[i]);
        while (i < size_ && IsDigit(bytes_[i]))
            ++i;
    }
    if (ok && i < size_ && (bytes_[i] == 'e' || bytes_[i] == 'E'))
    {
        if (++i < size_ && (bytes_[i] == '+' || bytes_[i] == '-'))
            ++i;
        ok = i < size_ && IsDigit(bytes_[i]);
        while (i < size_ && IsDigit(bytes_[i]))
            ++i;
    }
    // A digit after a leading zero ("01") is refused by what follows a value: never a digit.
    if (!ok)
    {
        Fail(JsonError::Syntax, i);
        return false;
    }
    tokenStart_ = start;
    tokenEnd_ = i;
    pos_ = i;
    return true;
}

// Compares the key just scanned with each earlier key of its object, character by character
// as they decode (both were checked when they were scanned).
bool JsonReader::IsDuplicate() const
{
    const unsigned int object = depth_ - 1;
    for (unsigned int m = 0; m < members_[object]; ++m)
    {
        std::size_t a = keys_[object][m];
        std::size_t b = tokenStart_;
        for (;;)
        {
            char32_t codeA = 0;
            char32_t codeB = 0;
            const Char readA = ReadChar(bytes_, size_, a, codeA);
            const Char readB = ReadChar(bytes_, size_, b, codeB);
            if (readA != readB || (readA == Char::Unit && codeA != codeB))
                break;
            if (readA == Char::Quote)
                return true;
        }
    }
    return false;
}

JsonText JsonReader::Text(wchar_t* out, std::size_t capacity, std::size_t& length) const
{
    length = 0;
    if (capacity == 0)
        return JsonText::TooLong;
    if (token_ == JsonToken::String || token_ == JsonToken::Key)
    {
        std::size_t i = tokenStart_;
        char32_t code = 0;
        while (ReadChar(bytes_, tokenEnd_ + 1, i, code) == Char::Unit)
        {
            wchar_t units[2];
            const std::size_t count = EncodeUtf16(code, units);
            if (capacity - 1 - length < count)
            {
                Wipe(out, capacity); // all or nothing: never a cut text
                length = 0;
                return JsonText::TooLong;
            }
            for (std::size_t k = 0; k < count; ++k)
                out[length++] = units[k];
        }
    }
    out[length] = L'\0';
    return JsonText::Ok;
}

bool JsonReader::TextIs(const char* ascii) const
{
    if (token_ != JsonToken::String && token_ != JsonToken::Key)
        return false;
    std::size_t i = tokenStart_;
    for (std::size_t k = 0;; ++k)
    {
        char32_t code = 0;
        const Char read = ReadChar(bytes_, tokenEnd_ + 1, i, code);
        if (read != Char::Unit)
            return ascii[k] == '\0';
        if (ascii[k] == '\0' || code != static_cast<unsigned char>(ascii[k]))
            return false;
    }
}

JsonWhole JsonReader::Whole(std::int64_t& value) const
{
    if (token_ != JsonToken::Number)
        return JsonWhole::Fraction;
    std::size_t i = tokenStart_;
    const bool negative = bytes_[i] == '-';
    if (negative)
        ++i;
    // The digits before and after the point as one run, and where the point stands in it
    // once the exponent has moved it.
    const std::size_t intStart = i;
    while (i < tokenEnd_ && IsDigit(bytes_[i]))
        ++i;
    const std::size_t intCount = i - intStart;
    std::size_t fracStart = i;
    if (i < tokenEnd_ && bytes_[i] == '.')
        fracStart = ++i;
    while (i < tokenEnd_ && IsDigit(bytes_[i]))
        ++i;
    const std::size_t count = intCount + (i - fracStart);
    long long exponent = 0;
    if (i < tokenEnd_)
    {
        const bool down = bytes_[++i] == '-';
        if (bytes_[i] == '-' || bytes_[i] == '+')
            ++i;
        for (; i < tokenEnd_; ++i)
            if (exponent < 1000000000000LL) // far beyond any run of digits it could move
                exponent = exponent * 10 + (bytes_[i] - '0');
        if (down)
            exponent = -exponent;
    }
    const auto digit = [&](std::size_t k) {
        return k < intCount ? bytes_[intStart + k] - '0' : bytes_[fracStart + k - intCount] - '0';
    };
    std::size_t first = 0;
    while (first < count && digit(first) == 0)
        ++first;
    if (first == count)
    {
        value = 0;
        return JsonWhole::Whole;
    }
    const long long point = static_cast<long long>(intCount) + exponent;
    if (point - static_cast<long long>(first) > 18)
        return JsonWhole::Huge;
    std::int64_t magnitude = 0;
    for (long long k = static_cast<long long>(first); k < point; ++k)
    {
        const auto at = static_cast<std::size_t>(k);
        magnitude = magnitude * 10 + (at < count ? digit(at) : 0);
    }
    for (std::size_t k = point > static_cast<long long>(first) ? static_cast<std::size_t>(point)
                                                               : first;
         k < count; ++k)
        if (digit(k) != 0)
            return JsonWhole::Fraction;
    value = negative ? -magnitude : magnitude;
    return JsonWhole::Whole;
}
