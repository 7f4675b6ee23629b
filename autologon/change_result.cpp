#include "change_result.h"

#include <cwchar>

#include "winlogon_values.h"

bool RemoveLeftOff(const ChangeResult& result)
{
    const StepFailure& registry = result.registry;
    return registry.step == ChangeStep::None ||
           (registry.step == ChangeStep::WriteValue && registry.value != nullptr &&
            std::wcscmp(registry.value, kAutoAdminLogon) != 0);
}

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
