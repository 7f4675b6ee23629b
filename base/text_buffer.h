// Output composed in a fixed buffer: no heap, no std::wstring in the shipped program. Once
// something does not fit, nothing more is added and Fits() says so; the text stays
// terminated and never runs past the buffer.
#pragma once
#include <cstddef>

class TextBuffer
{
  public:
    TextBuffer(wchar_t* storage, std::size_t capacity);
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    TextBuffer& Add(const wchar_t* text);
    // The program's own texts, which are UTF-8 (valid: they are written in the source).
    TextBuffer& Add(const char* utf8);
    TextBuffer& Add(const char* utf8, std::size_t bytes); // the first `bytes`, whole characters
    TextBuffer& Add(const wchar_t* text, std::size_t count);
    TextBuffer& Add(wchar_t character);
    TextBuffer& AddNumber(unsigned long long number);

    bool Fits() const { return fits_; }
    const wchar_t* Text() const { return storage_; }
    std::size_t Length() const { return length_; }

  private:
    wchar_t* storage_;
    std::size_t capacity_;
    std::size_t length_ = 0;
    bool fits_;
};
