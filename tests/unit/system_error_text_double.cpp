// The native builds have no system messages: a double that names the number, so that the
// reports' tests see where Windows' words stand.
#include <cwchar>

#include "error_text.h"

std::size_t SystemErrorText(std::uint32_t error, wchar_t* out, std::size_t capacity)
{
    const int length = std::swprintf(out, capacity, L"text of error %u.", error);
    return length > 0 ? static_cast<std::size_t>(length) : 0;
}
