// Addresses of the maker's web site and the size rule of the link font. Free of Windows
// headers, so that the rules can be tested natively.
#pragma once
#include <cstddef>

// The site roots come from the build (CMake cache variables TARVELIN_SITE_DE and
// TARVELIN_SITE_EN), so that a packager can point them elsewhere.
#if !defined(TARVELIN_SITE_DE) || !defined(TARVELIN_SITE_EN)
#error "TARVELIN_SITE_DE and TARVELIN_SITE_EN must be defined by the build"
#endif

// Roots of the German and the English site, each ending in "/".
constexpr char kSiteGerman[] = TARVELIN_SITE_DE;
constexpr char kSiteEnglish[] = TARVELIN_SITE_EN;
constexpr char kProductPageQuery[] = "?page=Windows/Tools/Tarvelin/1";
constexpr char kDonationQuery[] = "?paypal"
                                  "&Program=Tarvelin";

// The mode that selects the donation page; every other mode, 0 among them, the product page.
constexpr int kDonationPageMode = 3;
constexpr int kProductPageMode = 0;

namespace web_address_detail
{
constexpr std::size_t Max(std::size_t a, std::size_t b)
{
    return a > b ? a : b;
}
} // namespace web_address_detail

// A buffer of this many chars holds every address the program composes, terminator
// included: 256 as the shipped addresses need, more when a packager configures longer roots.
constexpr std::size_t kWebAddressCapacity = web_address_detail::Max(
    256, web_address_detail::Max(sizeof kSiteGerman, sizeof kSiteEnglish) - 1 +
             web_address_detail::Max(sizeof kProductPageQuery, sizeof kDonationQuery));

// The site root of the language: German when the English flag is 0, English otherwise.
const char* SiteBaseAddress(int englishFlag);

// Writes the address of a page into out (capacity in chars, terminator included): the site
// root of the language, then the donation query for mode 3 or the product page query for any
// other mode. Clears out first. Returns false and leaves an empty text when it does not fit.
bool ComposeWebAddress(char* out, std::size_t capacity, int englishFlag, int mode);

// Cell height of the link font for a control font of tmHeight: 70 %, truncated toward zero.
int LinkFontHeight(int tmHeight);
