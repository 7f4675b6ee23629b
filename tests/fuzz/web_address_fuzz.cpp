// libFuzzer target for the composer of the maker's web addresses and the link font's size.
// Whatever the language flag, page mode and buffer capacity, the composer must keep within
// the buffer and keep its promises: the root of the language (German for flag 0 only) and the
// donation query for mode 3, the product page query for any other; true exactly when that
// and its terminator fit, and then nothing but the address in the buffer; on false an empty
// buffer, and no write at all to a zero capacity. The link font is 70 % of the control font,
// truncated toward zero (one less where double precision falls just short of a whole number).
//
// The input: the language flag, the mode and the font height as little-endian 32-bit
// numbers, then the capacity as a 16-bit one (up to kWebAddressCapacity); missing bytes are 0.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "web_address.h"

namespace
{
std::uint32_t Take(const std::uint8_t*& data, std::size_t& size, std::size_t bytes)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i)
    {
        const std::uint32_t byte = i < size ? data[i] : 0;
        value |= byte << (8 * i);
    }
    const std::size_t taken = bytes < size ? bytes : size;
    data += taken;
    size -= taken;
    return value;
}

int TakeInt(const std::uint8_t*& data, std::size_t& size)
{
    const std::uint32_t bits = Take(data, size, 4);
    return bits < 0x80000000u ? static_cast<int>(bits)
                              : -static_cast<int>(~bits) - 1; // two's complement, spelt out
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int englishFlag = TakeInt(data, size);
    const int mode = TakeInt(data, size);
    const int fontHeight = TakeInt(data, size);
    const std::size_t capacity = Take(data, size, 2) % (kWebAddressCapacity + 1);

    const std::string root = englishFlag == 0 ? TARVELIN_SITE_DE : TARVELIN_SITE_EN;
    const std::string expected =
        root + (mode == 3 ? "?paypal&Program=Tarvelin" : "?page=Windows/Tools/Tarvelin/1");
    Check(SiteBaseAddress(englishFlag) == root, "the root of the language");

    // Exactly the capacity, filled with junk: a write past it is the sanitizer's to catch,
    // and every zero in it is the composer's.
    std::vector<char> out(capacity, 'x');
    const bool fits = ComposeWebAddress(out.data(), capacity, englishFlag, mode);
    Check(fits == (capacity > expected.size()), "true exactly when the address fits");
    if (capacity == 0)
        return 0;
    for (std::size_t i = 0; i < capacity; ++i)
    {
        const char wanted = fits && i < expected.size() ? expected[i] : '\0';
        Check(out[i] == wanted, "the address and zeros after it, or zeros only");
    }

    std::vector<char> room(kWebAddressCapacity, 'x');
    Check(ComposeWebAddress(room.data(), room.size(), englishFlag, mode),
          "kWebAddressCapacity holds every address");

    // 70 % truncated toward zero, worked out in integers.
    const long long scaled = static_cast<long long>(fontHeight) * 7;
    const long long exact = scaled / 10;
    const int height = LinkFontHeight(fontHeight);
    const bool whole = scaled % 10 == 0;
    const bool shortByOne = whole && height == exact - (fontHeight > 0 ? 1 : -1);
    Check(height == exact || shortByOne, "70 % of the font height, truncated toward zero");
    return 0;
}
