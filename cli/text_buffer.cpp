#include "text_buffer.h"

TextBuffer::TextBuffer(wchar_t* storage, std::size_t capacity)
    : storage_(storage), capacity_(capacity), fits_(capacity != 0)
{
    if (fits_)
        storage_[0] = L'\0';
}

TextBuffer& TextBuffer::Add(const wchar_t* text, std::size_t count)
{
    if (!fits_)
        return *this;
    if (count >= capacity_ - length_)
    {
        fits_ = false; // all or nothing: a cut word would be worse than a missing one
        return *this;
    }
    for (std::size_t i = 0; i < count; ++i)
        storage_[length_ + i] = text[i];
    length_ += count;
    storage_[length_] = L'\0';
    return *this;
}

TextBuffer& TextBuffer::Add(const wchar_t* text)
{
    std::size_t count = 0;
    while (text[count] != L'\0')
        ++count;
    return Add(text, count);
}

TextBuffer& TextBuffer::Add(const char* utf8)
{
    const std::size_t start = length_;
    const auto* byte = reinterpret_cast<const unsigned char*>(utf8);
    while (fits_ && *byte != 0)
    {
        // The lead byte says how many continuation bytes follow; a missing one ends the
        // sequence early rather than reading past the terminator.
        const unsigned int lead = *byte++;
        int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        unsigned long code = lead & (0x7Fu >> (more == 0 ? 0 : more + 1));
        for (; more > 0 && (*byte & 0xC0) == 0x80; --more)
            code = code << 6 | (*byte++ & 0x3Fu);
        if (code < 0x10000)
        {
            Add(static_cast<wchar_t>(code));
            continue;
        }
        code -= 0x10000;
        const wchar_t pair[2] = {static_cast<wchar_t>(0xD800 + (code >> 10)),
                                 static_cast<wchar_t>(0xDC00 + (code & 0x3FF))};
        Add(pair, 2);
    }
    if (!fits_ && start < capacity_)
    {
        length_ = start; // all or nothing, as for the other texts
        storage_[start] = L'\0';
    }
    return *this;
}

TextBuffer& TextBuffer::Add(wchar_t character)
{
    return Add(&character, 1);
}

TextBuffer& TextBuffer::AddNumber(unsigned long long number)
{
    wchar_t digits[24];
    std::size_t count = 0;
    do
    {
        digits[sizeof digits / sizeof digits[0] - 1 - count] =
            static_cast<wchar_t>(L'0' + number % 10);
        ++count;
        number /= 10;
    } while (number != 0);
    return Add(digits + sizeof digits / sizeof digits[0] - count, count);
}
