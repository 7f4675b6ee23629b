#include "change_result.h"

bool SecretLengths(std::size_t characters, std::uint16_t& length, std::uint16_t& maximumLength)
{
    // Both fields count bytes in 16 bits, and the maximum adds the terminator.
    constexpr std::size_t kLargest = (0xFFFFu - 2u) / 2u;
    if (characters > kLargest)
        return false;
    length = static_cast<std::uint16_t>(characters * 2u);
    maximumLength = static_cast<std::uint16_t>(characters * 2u + 2u);
    return true;
}
