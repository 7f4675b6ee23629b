#include "text_buffer.h"

#include "bounded_text.h"
#include "unicode.h"

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
    return Add(text, TextLength(text));
}

TextBuffer& TextBuffer::Add(const char* utf8)
{
    return Add(utf8, TextLength(utf8));
}

TextBuffer& TextBuffer::Add(const char* utf8, std::size_t bytes)
{
    const auto* units8 = reinterpret_cast<const unsigned char*>(utf8);
    const std::size_t start = length_;
    char32_t code = 0;
    for (std::size_t i = 0; fits_ && i < bytes && DecodeUtf8(units8, bytes, i, code);)
    {
        wchar_t units[2];
        Add(units, EncodeUtf16(code, units));
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
