#include "error_text.h"

TextBuffer& AddErrorNumber(TextBuffer& out, std::uint32_t error)
{
    out.AddNumber(error);
    wchar_t text[256];
    std::size_t length = SystemErrorText(error, text, sizeof text / sizeof text[0]);
    // In a sentence, which goes on after it: without the message's own full stop.
    if (length > 0 && text[length - 1] == L'.')
        --length;
    if (length > 0)
        out.Add(L": ").Add(text, length);
    return out;
}
