// Windows' own words for a Win32 error, beside its number: "2: The system cannot find the
// file specified." A number alone tells a user little.
#pragma once
#include <cstddef>
#include <cstdint>

#include "text_buffer.h"

// The system's message for `error`, in the user's language where Windows has it, without its
// line end, in `out` (terminated, at most `capacity` - 1 characters); its length, 0 when the
// system has none. The Windows build asks FormatMessageW; a native test build links a double.
std::size_t SystemErrorText(std::uint32_t error, wchar_t* out, std::size_t capacity);

// The number, then ": " and the system's message where there is one.
TextBuffer& AddErrorNumber(TextBuffer& out, std::uint32_t error);
