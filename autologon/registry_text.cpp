// The readings of a value as text, apart from the reading itself: only the console program
// needs them, and the dialog carries every function of an object it uses.
#include "registry_value.h"

bool RegistryValue::Text(const wchar_t*& text, DWORD& length) const
{
    if (!present_ || (type_ != REG_SZ && type_ != REG_EXPAND_SZ && type_ != REG_MULTI_SZ))
        return false;
    text = data_ != nullptr ? reinterpret_cast<const wchar_t*>(data_) : L"";
    length = 0;
    while (length < size_ / sizeof(wchar_t) && text[length] != L'\0')
        ++length;
    return true;
}

bool RegistryValue::HasText() const
{
    const wchar_t* text = nullptr;
    DWORD length = 0;
    if (!Text(text, length))
        return false;
    if (length != 0 || type_ != REG_MULTI_SZ)
        return length != 0;
    // A list whose first string is empty may still hold more after it.
    for (DWORD i = 0; i < size_ / sizeof(wchar_t); ++i)
    {
        if (text[i] != L'\0')
            return true;
    }
    return false;
}

void DescribeValue(const RegistryValue& value, ValueForm& form)
{
    form = ValueForm();
    form.present = value.Present();
    form.type = value.Type();
    form.size = value.Size();
    DWORD number = 0;
    if (value.Number(number))
        form.number = number;
    const wchar_t* text = nullptr;
    DWORD length = 0;
    if (!value.Text(text, length))
        return;
    DWORD i = 0;
    for (; i < length && i < kFieldLimit; ++i)
        form.text[i] = text[i];
    form.longer = length > kFieldLimit;
}
