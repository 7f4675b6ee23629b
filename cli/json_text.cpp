#include "json_text.h"

#include "unicode.h"

namespace
{
void AddEscape(TextBuffer& out, wchar_t c)
{
    const wchar_t hex[] = L"0123456789abcdef";
    const auto code = static_cast<unsigned int>(c);
    out.Add(L"\\u").Add(hex[(code >> 12) & 0xF]).Add(hex[(code >> 8) & 0xF]);
    out.Add(hex[(code >> 4) & 0xF]).Add(hex[code & 0xF]);
}
} // namespace

void AddJsonString(TextBuffer& out, const wchar_t* text)
{
    out.Add(L'"');
    for (const wchar_t* p = text; *p != L'\0'; ++p)
    {
        const wchar_t c = *p;
        switch (c)
        {
        case L'"':
            out.Add(L"\\\"");
            break;
        case L'\\':
            out.Add(L"\\\\");
            break;
        case L'\b':
            out.Add(L"\\b");
            break;
        case L'\f':
            out.Add(L"\\f");
            break;
        case L'\n':
            out.Add(L"\\n");
            break;
        case L'\r':
            out.Add(L"\\r");
            break;
        case L'\t':
            out.Add(L"\\t");
            break;
        default:
            if (IsHighSurrogate(c) && IsLowSurrogate(p[1]))
            {
                out.Add(p, 2); // a whole pair: one character beyond the BMP
                ++p;
            }
            else if (c < 0x20 || IsHighSurrogate(c) || IsLowSurrogate(c))
                AddEscape(out, c);
            else
                out.Add(c);
        }
    }
    out.Add(L'"');
}
