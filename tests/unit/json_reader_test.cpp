// The strict JSON reader: which documents it takes, what it decodes, and its whole numbers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "json_reader.h"
#include "show_text.h"

namespace
{
// Reads the whole document: the error (None when it reached End) and where it was found.
std::pair<JsonError, std::size_t> ReadAll(const std::string& text)
{
    JsonReader json(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    JsonToken token = JsonToken::None;
    while ((token = json.Next()) != JsonToken::End && token != JsonToken::Error)
    {
    }
    return {json.Error(), json.ErrorOffset()};
}

std::string Members(unsigned int count)
{
    std::string text = "{";
    for (unsigned int i = 0; i < count; ++i)
        text += (i ? ",\"k" : "\"k") + std::to_string(i) + "\":0";
    return text + "}";
}

const JsonError kOk = JsonError::None;
} // namespace

TEST(JsonReader, TakesRfc8259AndRefusesTheRest)
{
    const struct
    {
        std::string text;
        JsonError error;
        std::size_t at; // where the fault is (for a refusal)
    } cases[] = {
        {"{}", kOk, 0},
        {" \t\r\n[ ] \n", kOk, 0},
        {R"({"a":[1,-0,0.5,1e3,-2E-2,10,true,false,null,"x",{}],"b":{"a":1}})", kOk, 0},
        {R"("\"\\\/\b\f\n\r\t\u00e9\ud83d\ude00 \u0000")", kOk, 0},
        {"\"J\xC3\xBCrgen \xF0\x9F\x98\x80\"", kOk, 0},
        {std::string(16, '[') + std::string(16, ']'), kOk, 0},
        {Members(kJsonMaxMembers), kOk, 0},
        // Each object counts its own members and keys: siblings, and any depth.
        {R"([{"a":1},{"a":2}])", kOk, 0},
        {R"({"a":{"a":{"a":1}},"b":{"a":2}})", kOk, 0},
        {"[" + Members(kJsonMaxMembers) + "," + Members(kJsonMaxMembers) + "]", kOk, 0},
        {"", JsonError::Syntax, 0},
        {"   ", JsonError::Syntax, 3},
        {"\xEF\xBB\xBF{}", JsonError::Syntax, 0}, // no byte-order mark
        {"{} x", JsonError::Syntax, 3},
        {"{}{}", JsonError::Syntax, 2},
        {R"({"a":1,})", JsonError::Syntax, 7},
        {"[1,]", JsonError::Syntax, 3},
        {"[,1]", JsonError::Syntax, 1},
        {"[1 2]", JsonError::Syntax, 3},
        {R"({"a" 1})", JsonError::Syntax, 5},
        {"{a:1}", JsonError::Syntax, 1},
        {"{\"a\":}", JsonError::Syntax, 5},
        {"[1", JsonError::Syntax, 2},
        {"01", JsonError::Syntax, 1},
        {"-01", JsonError::Syntax, 2},
        {"-", JsonError::Syntax, 1},
        {"+1", JsonError::Syntax, 0},
        {".5", JsonError::Syntax, 0},
        {"1.", JsonError::Syntax, 2},
        {"1.e3", JsonError::Syntax, 2},
        {"1e", JsonError::Syntax, 2},
        {"1e+", JsonError::Syntax, 3},
        {"tru", JsonError::Syntax, 0},
        {"True", JsonError::Syntax, 0},
        {"nulll", JsonError::Syntax, 4},
        {"\"abc", JsonError::Syntax, 4},
        {"\"a\x01\"", JsonError::Syntax, 2}, // a control character inside a string
        {"\"\\x\"", JsonError::Syntax, 1},
        {"\"\\u12\"", JsonError::Syntax, 1},
        {"\"\xC0\x80\"", JsonError::Encoding, 1},     // overlong NUL
        {"\"\xED\xA0\x80\"", JsonError::Encoding, 1}, // a surrogate in UTF-8
        {"\"\xC3\"", JsonError::Encoding, 1},         // cut short
        {"\"\xFF\"", JsonError::Encoding, 1},
        {R"("\ud800")", JsonError::Encoding, 1},        // a high surrogate alone
        {R"("\udc00\ud800")", JsonError::Encoding, 1},  // a low one first
        {R"("a\ud800\u0041")", JsonError::Encoding, 2}, // a high one with no low after it
        {std::string(17, '[') + std::string(17, ']'), JsonError::Depth, 16},
        {Members(kJsonMaxMembers + 1), JsonError::Members, Members(kJsonMaxMembers).size()},
        {R"({"a":1,"a":2})", JsonError::DuplicateKey, 7},
        {R"({"a":1,"\u0061":2})", JsonError::DuplicateKey, 7}, // the same text, escaped
        {R"({"a":{"b":1,"b":1}})", JsonError::DuplicateKey, 12},
    };
    for (const auto& c : cases)
    {
        const auto [error, at] = ReadAll(c.text);
        EXPECT_EQ(error, c.error) << Printable(c.text);
        EXPECT_EQ(at, c.error == kOk ? 0 : c.at) << Printable(c.text);
    }
}

TEST(JsonReader, DecodesTextIntoTheBufferWholeOrNotAtAll)
{
    const wchar_t kHigh = static_cast<wchar_t>(0xD83D);
    const wchar_t kLow = static_cast<wchar_t>(0xDE00);
    const struct
    {
        std::string json;
        std::size_t capacity; // terminator included
        bool fits;
        std::wstring text;
    } cases[] = {
        {R"("a\"\\\/\b\f\n\r\t")", 16, true, L"a\"\\/\b\f\n\r\t"},
        {"\"\xC3\xBC\\u00fc\"", 3, true, L"\u00fc\u00fc"},
        {R"("\ud83d\ude00")", 3, true, {kHigh, kLow}},
        {"\"\xF0\x9F\x98\x80\"", 3, true, {kHigh, kLow}},
        {R"("a\u0000b")", 4, true, std::wstring(L"a\0b", 3)},
        {R"("abc")", 4, true, L"abc"},
        {R"("abc")", 3, false, L""},           // one unit over: refused, not cut
        {R"("a\ud83d\ude00")", 3, false, L""}, // a pair is never split
        {R"("")", 1, true, L""},
    };
    for (const auto& c : cases)
    {
        JsonReader json(reinterpret_cast<const unsigned char*>(c.json.data()), c.json.size());
        ASSERT_EQ(json.Next(), JsonToken::String) << c.json;
        std::vector<wchar_t> out(c.capacity, L'#');
        std::size_t length = 99;
        const JsonText result = json.Text(out.data(), out.size(), length);
        EXPECT_EQ(result == JsonText::Ok, c.fits) << c.json;
        EXPECT_EQ(std::wstring(out.data(), length), c.text) << c.json;
        EXPECT_EQ(out[length], L'\0') << c.json << ": terminated";
        for (std::size_t i = 0; !c.fits && i < out.size(); ++i)
            EXPECT_EQ(out[i], L'\0') << c.json << ": wiped when refused";
    }
}

TEST(JsonReader, NumbersAsWholeNumbers)
{
    const struct
    {
        const char* number;
        JsonWhole whole;
        std::int64_t value;
    } cases[] = {
        {"3", JsonWhole::Whole, 3},
        {"-0", JsonWhole::Whole, 0},
        {"3.0", JsonWhole::Whole, 3},
        {"30e-1", JsonWhole::Whole, 3},
        {"1E3", JsonWhole::Whole, 1000},
        {"0.000001e6", JsonWhole::Whole, 1},
        {"0e999999999999999999999", JsonWhole::Whole, 0},
        {"-999999999999999999", JsonWhole::Whole, -999999999999999999},
        {"3.5", JsonWhole::Fraction, 0},
        {"1e-1", JsonWhole::Fraction, 0},
        {"0.01", JsonWhole::Fraction, 0},
        {"1000000000000000000", JsonWhole::Huge, 0},
        {"1e18", JsonWhole::Huge, 0},
        {"1.5e400", JsonWhole::Huge, 0},
    };
    for (const auto& c : cases)
    {
        const std::string text = c.number;
        JsonReader json(reinterpret_cast<const unsigned char*>(text.data()), text.size());
        ASSERT_EQ(json.Next(), JsonToken::Number) << c.number;
        std::int64_t value = 0;
        EXPECT_EQ(json.Whole(value), c.whole) << c.number;
        EXPECT_EQ(value, c.value) << c.number << ": set for a whole number only";
    }
}
