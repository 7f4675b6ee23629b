#include "value_text.h"

#include "json_text.h"

const wchar_t kCutMark[] = L"\u2026";

namespace
{
// The registry's names of its value types, by number.
const char* const kTypeNames[] = {
    "REG_NONE",
    "REG_SZ",
    "REG_EXPAND_SZ",
    "REG_BINARY",
    "REG_DWORD",
    "REG_DWORD_BIG_ENDIAN",
    "REG_LINK",
    "REG_MULTI_SZ",
    "REG_RESOURCE_LIST",
    "REG_FULL_RESOURCE_DESCRIPTOR",
    "REG_RESOURCE_REQUIREMENTS_LIST",
    "REG_QWORD",
};

void AddTypeName(TextBuffer& out, std::uint32_t type)
{
    if (type < sizeof kTypeNames / sizeof kTypeNames[0])
        out.Add(kTypeNames[type]);
    else
        out.Add("type ").AddNumber(type);
}

bool IsTextType(std::uint32_t type)
{
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

void AddText(TextBuffer& out, const ValueForm& value)
{
    out.Add(value.text);
    if (value.longer)
        out.Add(kCutMark);
}
} // namespace

void AddForm(TextBuffer& out, const ValueForm& value)
{
    AddTypeName(out, value.type);
    if (IsNumberValue(value))
        out.Add(L' ').AddNumber(value.number);
    else if (value.type == kRegDword)
        out.Add(L" (").AddNumber(value.size).Add(L" bytes)");
    else if (IsTextType(value.type))
    {
        AddText(out.Add(L" \""), value);
        out.Add(L'"');
    }
}

void AddPlainValue(TextBuffer& out, const ValueForm& value, std::uint32_t expected,
                   const char* absent)
{
    if (!value.present)
        out.Add(absent);
    else if (value.type == kRegSz && expected == kRegSz && value.text[0] == L'\0')
        out.Add(L"\"\""); // an empty text is something, not nothing
    else if (value.type == kRegSz && expected == kRegSz)
        AddText(out, value);
    else if (IsNumberValue(value) && expected == kRegDword)
        out.AddNumber(value.number);
    else
        AddForm(out, value);
}

void AddJsonName(TextBuffer& out, const wchar_t* name, bool longer)
{
    wchar_t storage[kFieldLimit + 2];
    TextBuffer shown(storage, kFieldLimit + 2);
    shown.Add(name);
    if (longer)
        shown.Add(kCutMark);
    AddJsonString(out, shown.Text());
}

void AddJsonValue(TextBuffer& out, const ValueForm& value, std::uint32_t expected)
{
    if (!value.present)
    {
        out.Add(L"null");
        return;
    }
    if (IsNumberValue(value))
    {
        out.AddNumber(value.number);
        return;
    }
    if (value.type == kRegSz && expected == kRegSz)
    {
        AddJsonName(out, value.text, value.longer);
        return;
    }
    out.Add(L"{\"type\":\"");
    AddTypeName(out, value.type);
    out.Add(L'"');
    if (IsTextType(value.type))
        AddJsonName(out.Add(L",\"value\":"), value.text, value.longer);
    else if (value.type == kRegDword)
        out.Add(L",\"bytes\":").AddNumber(value.size);
    out.Add(L'}');
}
