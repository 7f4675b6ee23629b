// libFuzzer target for json/json_reader against a reference: a small strict recursive reader
// of RFC 8259 written here from the grammar alone, with the reader's documented limits (depth,
// members, keys unique as the text they stand for, no lone surrogate, no byte-order mark). On
// any bytes both agree: what the reference takes, the reader reads to its End; nothing else.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>

#include "fuzz_check.h"
#include "json_reader.h"

namespace
{
struct Reference
{
    const std::uint8_t* p;
    const std::uint8_t* end;

    bool Eat(char c) { return p != end && *p == static_cast<std::uint8_t>(c) && ++p; }
    bool Is(std::uint8_t low, std::uint8_t high) const
    {
        return p != end && *p >= low && *p <= high;
    }
    void Blank()
    {
        while (Eat(' ') || Eat('\t') || Eat('\n') || Eat('\r'))
        {
        }
    }
    bool Digits()
    {
        const std::uint8_t* start = p;
        while (Is('0', '9'))
            ++p;
        return p != start;
    }
    bool Word(const char* word)
    {
        const auto length = static_cast<std::ptrdiff_t>(std::strlen(word));
        if (end - p < length || std::memcmp(p, word, static_cast<std::size_t>(length)) != 0)
            return false;
        p += length;
        return true;
    }
    bool Hex4(char32_t& unit)
    {
        if (end - p < 4 || !std::all_of(p, p + 4, [](std::uint8_t c) { return std::isxdigit(c); }))
            return false;
        unit = static_cast<char32_t>(std::stoul(std::string(p, p + 4), nullptr, 16));
        p += 4;
        return true;
    }
    // One character by the table of well-formed UTF-8 byte sequences (Unicode, table 3-7).
    bool Utf8(char32_t& code)
    {
        const std::uint8_t c = *p++;
        const int more = c < 0x80   ? 0
                         : c < 0xC2 ? -1
                         : c < 0xE0 ? 1
                         : c < 0xF0 ? 2
                         : c < 0xF5 ? 3
                                    : -1;
        if (more < 0)
            return false;
        code = more == 0 ? c : c & (0x3Fu >> more);
        for (int k = 0; k < more; ++k, ++p)
        {
            const bool first = k == 0;
            if (!Is(first && c == 0xE0   ? 0xA0
                    : first && c == 0xF0 ? 0x90
                                         : 0x80,
                    first && c == 0xED   ? 0x9F
                    : first && c == 0xF4 ? 0x8F
                                         : 0xBF))
                return false;
            code = code << 6 | (*p & 0x3Fu);
        }
        return true;
    }
    bool String(std::u32string& text)
    {
        for (char32_t code = 0, low = 0;; text += code)
        {
            if (Eat('"'))
                return true;
            if (p == end || *p < 0x20 || (!Eat('\\') && !Utf8(code)))
                return false;
            if (p[-1] != '\\')
                continue;
            const std::size_t k =
                p == end ? 9 : std::string("\"\\/bfnrtu").find(static_cast<char>(*p++));
            if (k < 8)
                code = static_cast<unsigned char>("\"\\/\b\f\n\r\t"[k]);
            else if (k != 8 || !Hex4(code) || (code >= 0xDC00 && code <= 0xDFFF) ||
                     (code >= 0xD800 && code <= 0xDBFF &&
                      (!Eat('\\') || !Eat('u') || !Hex4(low) || low < 0xDC00 || low > 0xDFFF)))
                return false;
            else if (code >= 0xD800)
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    bool Value(unsigned int depth)
    {
        if (Is('{', '{') || Is('[', '['))
            return depth < kJsonMaxDepth && Container(depth + 1);
        if (Eat('"'))
        {
            std::u32string text;
            return String(text);
        }
        if (Is('a', 'z'))
            return Word("true") || Word("false") || Word("null");
        Eat('-');
        if (!Eat('0') && !(Is('1', '9') && Digits()))
            return false;
        if (Eat('.') && !Digits())
            return false;
        return !(Eat('e') || Eat('E')) || ((Eat('+') || Eat('-') || true) && Digits());
    }
    bool Container(unsigned int depth)
    {
        const char close = *p++ == '{' ? '}' : ']';
        std::set<std::u32string> keys;
        Blank();
        if (Eat(close))
            return true;
        for (;;)
        {
            std::u32string key;
            Blank();
            if (close == '}' && (!Eat('"') || !String(key) || !keys.insert(key).second ||
                                 keys.size() > kJsonMaxMembers || (Blank(), !Eat(':'))))
                return false;
            Blank();
            if (!Value(depth))
                return false;
            Blank();
            if (Eat(close))
                return true;
            if (!Eat(','))
                return false;
        }
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    JsonReader json(data, size);
    JsonToken token = JsonToken::None;
    while ((token = json.Next()) != JsonToken::End && token != JsonToken::Error)
    {
    }
    Reference reference{data, data + size};
    reference.Blank();
    const bool valid = reference.Value(0) && (reference.Blank(), reference.p == reference.end);
    Check(!valid || token == JsonToken::End, "JSON within the limits is read to its end");
    Check(valid || token == JsonToken::Error, "anything else is refused");
    return 0;
}
