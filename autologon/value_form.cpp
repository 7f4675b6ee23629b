#include "value_form.h"

bool IsTextValue(const ValueForm& value, const wchar_t* text, bool expandable)
{
    if (!value.present || value.longer ||
        (value.type != kRegSz && (!expandable || value.type != kRegExpandSz)))
        return false;
    std::size_t i = 0;
    for (; text[i] != L'\0'; ++i)
    {
        if (value.text[i] != text[i])
            return false;
    }
    return value.text[i] == L'\0';
}

bool IsNumberValue(const ValueForm& value)
{
    return value.present && value.type == kRegDword && value.size == sizeof value.number;
}

ValueForm TextForm(const wchar_t* text)
{
    ValueForm value;
    value.present = true;
    value.type = kRegSz;
    std::uint32_t i = 0;
    for (; i < kFieldLimit && text[i] != L'\0'; ++i)
        value.text[i] = text[i];
    value.longer = text[i] != L'\0';
    // What the registry would hold, the terminator included (of a text that is not cut).
    value.size = (i + 1) * 2;
    return value;
}

ValueForm NumberForm(std::uint32_t number)
{
    ValueForm value;
    value.present = true;
    value.type = kRegDword;
    value.number = number;
    value.size = sizeof number;
    return value;
}
