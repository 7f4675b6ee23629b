#include "web_address.h"

#include "bounded_text.h"

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
    const bool fits =
        AppendText(out, capacity, SiteBaseAddress(englishFlag)) && AppendText(out, capacity, query);
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
