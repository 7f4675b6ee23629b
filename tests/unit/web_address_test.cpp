#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "web_address.h"

namespace
{
const std::string kGerman = TARVELIN_SITE_DE;
const std::string kEnglish = TARVELIN_SITE_EN;
const std::string kProduct = "?page=Windows/Tools/Tarvelin/1";
const std::string kDonation = "?paypal&Program=Tarvelin";

std::string Compose(int englishFlag, int mode)
{
    char out[kWebAddressCapacity];
    std::memset(out, 'x', sizeof out); // poisoned: the call must clear what it does not write
    EXPECT_TRUE(ComposeWebAddress(out, sizeof out, englishFlag, mode));
    for (std::size_t i = std::strlen(out); i < sizeof out; ++i)
        EXPECT_EQ(out[i], '\0') << "left over at " << i;
    return out;
}
} // namespace

TEST(SiteAddresses, AbsoluteHttpsRootsEndingInSlash)
{
    for (const std::string& site : {kGerman, kEnglish})
    {
        EXPECT_EQ(site.rfind("https://", 0), 0u) << site;
        ASSERT_GT(site.size(), std::strlen("https://")) << site;
        EXPECT_EQ(site.back(), '/') << site;
        EXPECT_EQ(site.find_first_of(" \t\""), std::string::npos) << site;
    }
    EXPECT_NE(kGerman, kEnglish);
    EXPECT_STREQ(SiteBaseAddress(0), kGerman.c_str());
    for (int flag : {1, 2, -1})
        EXPECT_STREQ(SiteBaseAddress(flag), kEnglish.c_str()) << flag;
}

TEST(WebAddress, ModeThreeIsTheDonationPageEveryOtherTheProductPage)
{
    const struct
    {
        int englishFlag;
        int mode;
        std::string expected;
    } cases[] = {
        {0, 0, kGerman + kProduct},
        {0, 1, kGerman + kProduct},
        {0, 2, kGerman + kProduct},
        {0, -1, kGerman + kProduct},
        {0, 4, kGerman + kProduct},
        {0, 3, kGerman + kDonation},
        {1, 0, kEnglish + kProduct},
        {1, 1, kEnglish + kProduct},
        {1, 2, kEnglish + kProduct},
        {1, -1, kEnglish + kProduct},
        {1, 3, kEnglish + kDonation},
        // Any flag but 0 is English.
        {2, 0, kEnglish + kProduct},
        {-1, 3, kEnglish + kDonation},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Compose(c.englishFlag, c.mode), c.expected)
            << "flag " << c.englishFlag << ", mode " << c.mode;
}

TEST(WebAddress, ConsecutiveCallsShareNothing)
{
    char out[kWebAddressCapacity];
    ASSERT_TRUE(ComposeWebAddress(out, sizeof out, 1, 3));
    ASSERT_TRUE(ComposeWebAddress(out, sizeof out, 1, 0));
    EXPECT_EQ(std::string(out), kEnglish + kProduct);
    for (std::size_t i = std::strlen(out); i < sizeof out; ++i)
        ASSERT_EQ(out[i], '\0') << "the donation query shows through at " << i;
}

TEST(WebAddress, CapacityHoldsEveryAddressAndShortBuffersGetNothing)
{
    EXPECT_GE(kWebAddressCapacity, 256u);
    const std::size_t longest = std::max(kGerman.size(), kEnglish.size()) + kDonation.size();
    EXPECT_GT(kWebAddressCapacity, longest);

    // One char short of the address and its terminator: refused, and nothing half-written.
    const std::string full = kEnglish + kDonation;
    std::string out(full.size(), 'x');
    EXPECT_FALSE(ComposeWebAddress(out.data(), out.size(), 1, 3));
    EXPECT_EQ(out, std::string(full.size(), '\0'));
    // Exactly enough.
    std::string exact(full.size() + 1, 'x');
    EXPECT_TRUE(ComposeWebAddress(exact.data(), exact.size(), 1, 3));
    EXPECT_EQ(exact.c_str(), full);

    char none = 'x';
    EXPECT_FALSE(ComposeWebAddress(&none, 0, 1, 0));
    EXPECT_EQ(none, 'x') << "a zero capacity must not be written";
}

TEST(LinkFont, SeventyPercentTruncatedTowardZero)
{
    const struct
    {
        int tmHeight;
        int expected;
    } cases[] = {{13, 9}, {14, 9}, {16, 11}, {20, 14}, {90, 62}, {10, 7}, {1, 0}, {0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(LinkFontHeight(c.tmHeight), c.expected) << c.tmHeight;
}
