// The password line that a script pipes in or a file holds: UTF-8 (or, from a file, UTF-16LE
// with its byte-order mark), checked strictly, never cut.
#pragma once
#include <cstddef>

enum class LineStatus
{
    Ok,
    Empty,   // nothing before the line end (or no input at all)
    TooLong, // more than the limit: refused, never cut
    Invalid, // not UTF-8 (bad, overlong or truncated sequences, surrogates), or a null byte;
             // answered before TooLong, wherever in the line the fault is
    Utf16    // UTF-16 where it is not read: a byte-order mark of UTF-16, or a null byte in the
             // first two (ASCII text in UTF-16 without its mark)
};

// Decodes the first line of `bytes` (up to the first LF, or all of them) into `out` as
// UTF-16: without its line end (LF, CR LF, or a CR that ends the input) and without a
// byte-order mark at its start; nothing else is trimmed. At most `limit` code units; `out`
// holds limit + 1. On any status but Ok, `out` is left all zero.
LineStatus DecodeFirstLine(const unsigned char* bytes, std::size_t count, wchar_t* out,
                           std::size_t limit);

// The first line of a password's bytes: UTF-16LE after its byte-order mark where `utf16` is
// allowed, otherwise UTF-8 as DecodeFirstLine reads it; UTF-16 in any other form is Utf16,
// so that the refusal can say what the text is and how to give it. `out` as above.
LineStatus DecodePasswordLine(const unsigned char* bytes, std::size_t count, wchar_t* out,
                              std::size_t limit, bool utf16);
