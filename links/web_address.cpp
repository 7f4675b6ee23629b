#include "web_address.h"

namespace
{
// Appends src at out[pos]; false when it would not fit together with a terminator.
bool Append(char* out, std::size_t capacity, std::size_t& pos, const char* src)
{
    for (; *src != '\0'; ++src)
    {
        if (pos + 1 >= capacity)
            return false;
        out[pos++] = *src;
    }
    return true;
}
} // namespace

const char* SiteBaseAddress(int englishFlag)
{
    return englishFlag == 0 ? kSiteGerman : kSiteEnglish;
}

bool ComposeWebAddress(char* out, std::size_t capacity, int englishFlag, int mode)
{
    if (capacity == 0)
        return false;
    // Each call starts from a cleared buffer: nothing of an earlier address can show through.
    for (std::size_t i = 0; i < capacity; ++i)
        out[i] = '\0';
    const char* query = mode == kDonationPageMode ? kDonationQuery : kProductPageQuery;
    std::size_t pos = 0;
    const bool fits = Append(out, capacity, pos, SiteBaseAddress(englishFlag)) &&
                      Append(out, capacity, pos, query);
    if (!fits)
    {
        for (std::size_t i = 0; i < capacity; ++i)
            out[i] = '\0';
    }
    return fits;
}

int LinkFontHeight(int tmHeight)
{
    // Double precision and truncation, so 90 gives 62: 90 * 0.7 lies just below 63.
    constexpr double kFactor = 0.7;
    return static_cast<int>(static_cast<double>(tmHeight) * kFactor);
}
