// A strict JSON reader (RFC 8259) for input from outside: a pull reader over UTF-8 bytes, in
// the manner of .NET's Utf8JsonReader. Next() walks the document token by token; the caller
// looks at a token's value while it is the current one. Nothing is copied anywhere but into
// the caller's buffers, and the reader holds no decoded text, so a password read through it
// is only where the caller put it (the input bytes are the caller's to wipe).
//
// Refused, wherever they stand: anything that is not UTF-8 (overlong forms, surrogates, NUL),
// a \u escape of a surrogate without its partner, a control character inside a string, a
// number with a leading zero or without digits where the grammar wants them, a comma before
// a closing bracket, a byte-order mark, anything after the value but whitespace, and a key
// that stands twice in one object (compared as the text it stands for: "a" and "\u0061" are
// the same key). Limits, as RFC 8259 allows: nesting at most kJsonMaxDepth deep, at most
// kJsonMaxMembers members in one object. Free of Windows headers and of the heap.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr unsigned int kJsonMaxDepth = 16;
constexpr unsigned int kJsonMaxMembers = 64;

enum class JsonToken : unsigned char
{
    None, // before the first Next()
    ObjectStart,
    ObjectEnd,
    ArrayStart,
    ArrayEnd,
    Key, // a member's name; its value is the next token
    String,
    Number,
    True,
    False,
    Null,
    End,  // the value and nothing but whitespace after it: the document is read
    Error // see Error() and ErrorOffset(); every later Next() answers Error again
};

enum class JsonError : unsigned char
{
    None,
    Syntax,       // not JSON's grammar, or the input ends inside the value
    Encoding,     // not UTF-8, or a surrogate escape without its partner
    Depth,        // nested deeper than kJsonMaxDepth
    Members,      // more than kJsonMaxMembers members in one object
    DuplicateKey, // a key stands twice in one object; the offset is the second one's
};

// How a String or Key token's text went into the caller's buffer.
enum class JsonText : unsigned char
{
    Ok,
    TooLong // more UTF-16 code units than the buffer holds before its terminator: the
            // buffer is left all zero, never cut
};

// A Number token as a whole number.
enum class JsonWhole : unsigned char
{
    Whole,    // 3, -0, 3.0, 30e-1, 1E3
    Fraction, // it has a part after the point: 3.5, 1e-1
    Huge      // its magnitude is above kJsonWholeLimit (then the fraction is not looked at)
};
constexpr std::int64_t kJsonWholeLimit = 999999999999999999; // 18 nines

class JsonReader
{
  public:
    JsonReader(const unsigned char* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
    JsonReader(const JsonReader&) = delete;
    JsonReader& operator=(const JsonReader&) = delete;

    JsonToken Next();

    JsonToken Token() const { return token_; }
    JsonError Error() const { return error_; }
    std::size_t ErrorOffset() const { return errorOffset_; } // byte offset of the fault
    unsigned int Depth() const { return depth_; }            // open objects and arrays

    // The current String or Key token's text as UTF-16 code units, terminated, into `out`
    // of `capacity` units (terminator included); `length` is its count of units (a \u0000
    // stands inside as a zero unit). Any other token: an empty text.
    JsonText Text(wchar_t* out, std::size_t capacity, std::size_t& length) const;
    // Whether the current String or Key token stands for exactly this ASCII text.
    bool TextIs(const char* ascii) const;
    // The current Number token as a whole number (`value` is set for Whole only); any other
    // token counts as a fraction.
    JsonWhole Whole(std::int64_t& value) const;

  private:
    JsonToken Fail(JsonError error, std::size_t offset);
    JsonToken Value();
    JsonToken Key();
    JsonToken Open(JsonToken token, bool object);
    JsonToken AfterValue(JsonToken token);
    bool ScanString();
    bool ScanNumber();
    bool IsDuplicate() const;
    void SkipWhitespace();

    enum class Expect : unsigned char
    {
        Value,        // a value (the document's, an array's next, a member's)
        ValueOrClose, // just after [
        KeyOrClose,   // just after {
        Key,          // after a comma in an object
        CommaOrClose, // after a value inside an object or array
        Nothing       // after the document's value: whitespace, then the end
    };

    const unsigned char* bytes_;
    std::size_t size_;
    std::size_t pos_ = 0;
    std::size_t tokenStart_ = 0; // a string's first byte after its quote; a number's first
    std::size_t tokenEnd_ = 0;   // a string's closing quote; the byte after a number
    JsonToken token_ = JsonToken::None;
    JsonError error_ = JsonError::None;
    std::size_t errorOffset_ = 0;
    Expect expect_ = Expect::Value;
    unsigned int depth_ = 0;
    std::uint32_t objects_ = 0; // bit d: the container at depth d + 1 is an object
    unsigned int members_[kJsonMaxDepth] = {};
    // Where each key of each open object starts, to find a key that stands twice.
    std::size_t keys_[kJsonMaxDepth][kJsonMaxMembers] = {};
};
