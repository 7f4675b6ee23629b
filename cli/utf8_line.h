// The password line that a script pipes in: UTF-8, checked strictly, never cut.
#pragma once
#include <cstddef>

enum class LineStatus
{
    Ok,
    Empty,   // nothing before the line end (or no input at all)
    TooLong, // more than the limit: refused, never cut
    Invalid  // not UTF-8 (bad, overlong or truncated sequences, surrogates), or a null byte;
             // answered before TooLong, wherever in the line the fault is
};

// Decodes the first line of `bytes` (up to the first LF, or all of them) into `out` as
// UTF-16: without its line end (LF, CR LF, or a CR that ends the input) and without a
// byte-order mark at its start; nothing else is trimmed. At most `limit` code units; `out`
// holds limit + 1. On any status but Ok, `out` is left all zero.
LineStatus DecodeFirstLine(const unsigned char* bytes, std::size_t count, wchar_t* out,
                           std::size_t limit);
