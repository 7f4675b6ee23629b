#include "error_text.h"

#include <windows.h>

std::size_t SystemErrorText(std::uint32_t error, wchar_t* out, std::size_t capacity)
{
    if (capacity == 0)
        return 0;
    out[0] = L'\0';
    // Language 0: the thread's and the user's language first, then the system's, then
    // English. No inserts: a message that has them is shown with its %1 as it stands.
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                      FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                  nullptr, error, 0, out, static_cast<DWORD>(capacity), nullptr);
    if (length >= capacity)
        length = 0;
    // Without its line end, and without the blank that the width mask leaves in its place.
    while (length > 0 &&
           (out[length - 1] == L' ' || out[length - 1] == L'\r' || out[length - 1] == L'\n'))
        --length;
    out[length] = L'\0';
    return length;
}
