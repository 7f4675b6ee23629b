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

TextBuffer& JsonObject::Key(const char* name)
{
    if (!first_)
        out_.Add(L',');
    first_ = false;
    return out_.Add(L'"').Add(name).Add(L"\":");
}

TextBuffer& JsonObject::Key(const wchar_t* name)
{
    if (!first_)
        out_.Add(L',');
    first_ = false;
    return out_.Add(L'"').Add(name).Add(L"\":");
}

JsonObject& JsonObject::String(const char* name, const wchar_t* text)
{
    if (text == nullptr)
        return Null(name);
    AddJsonString(Key(name), text);
    return *this;
}

JsonObject& JsonObject::Id(const char* name, const char* id)
{
    if (id == nullptr)
        return Null(name);
    Key(name).Add(L'"').Add(id).Add(L'"');
    return *this;
}

JsonObject& JsonObject::Bool(const char* name, bool value)
{
    Key(name).Add(value ? L"true" : L"false");
    return *this;
}

JsonObject& JsonObject::Number(const char* name, unsigned long long number)
{
    Key(name).AddNumber(number);
    return *this;
}

JsonObject& JsonObject::Null(const char* name)
{
    Key(name).Add(L"null");
    return *this;
}
