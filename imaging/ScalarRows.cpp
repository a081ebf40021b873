#include "imaging/ScalarRows.h"

#include "imaging/PixelColor.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "16-bit pixels are stored little-endian");

namespace {

WORD LoadWord(const BYTE* bytes)
{
    WORD word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

void StoreWord(BYTE* bytes, WORD word)
{
    std::memcpy(bytes, &word, sizeof word);
}

} // namespace

void ScalarRows::AddClamp(BYTE* bytes, std::size_t count, int amount)
{
    const int step = std::clamp(amount, -255, 255);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<BYTE>(std::clamp(bytes[i] + step, 0, 255));
}

void ScalarRows::AddClampColor32(BYTE* pixels, std::size_t count, int amount)
{
    const int step = std::clamp(amount, -255, 255);
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t channel = 0; channel < 3; ++channel) {
            BYTE& byte = pixels[4 * i + channel];
            byte = static_cast<BYTE>(std::clamp(byte + step, 0, 255));
        }
}

void ScalarRows::BlendPattern(const BYTE* source, BYTE* dest, std::size_t count, const PixelPattern& pattern)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t offset = i % PixelPattern::PERIOD;
        dest[i] = static_cast<BYTE>((source[i] & ~pattern.mask[offset]) | pattern.value[offset]);
    }
}

void ScalarRows::FillPattern(BYTE* dest, std::size_t count, const PixelPattern& pattern)
{
    for (std::size_t i = 0; i < count; ++i)
        dest[i] = pattern.value[i % PixelPattern::PERIOD];
}

void ScalarRows::Widen555To565(BYTE* pixels, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        StoreWord(pixels + 2 * i, ::Widen555To565(LoadWord(pixels + 2 * i)));
}

void ScalarRows::Narrow565To555(BYTE* pixels, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        StoreWord(pixels + 2 * i, ::Narrow565To555(LoadWord(pixels + 2 * i)));
}

void ScalarRows::Expand16To24(const BYTE* source, BYTE* dest, std::size_t count, bool layout565)
{
    for (std::size_t i = 0; i < count; ++i) {
        const COLORREF color = ExpandColor(LoadWord(source + 2 * i), layout565);
        dest[3 * i] = GetBValue(color);
        dest[3 * i + 1] = GetGValue(color);
        dest[3 * i + 2] = GetRValue(color);
    }
}

void ScalarRows::Reduce24To16(const BYTE* source, BYTE* dest, std::size_t count, bool layout565)
{
    for (std::size_t i = 0; i < count; ++i) {
        const BYTE* pixel = source + 3 * i;
        const WORD word = layout565 ? ReduceTo565(pixel[2], pixel[1], pixel[0]) : ReduceTo555(pixel[2], pixel[1], pixel[0]);
        StoreWord(dest + 2 * i, word);
    }
}

void ScalarRows::Lookup8To16(const BYTE* source, BYTE* dest, std::size_t count, const WORD* table)
{
    // Four pixels per 8-byte store.
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const std::uint64_t four = table[source[i]] | static_cast<std::uint64_t>(table[source[i + 1]]) << 16 |
                                   static_cast<std::uint64_t>(table[source[i + 2]]) << 32 |
                                   static_cast<std::uint64_t>(table[source[i + 3]]) << 48;
        std::memcpy(dest + 2 * i, &four, sizeof four);
    }
    for (; i < count; ++i)
        StoreWord(dest + 2 * i, table[source[i]]);
}

void ScalarRows::Lookup8To24(const BYTE* source, BYTE* dest, std::size_t count, const DWORD* table)
{
    // Two pixels per 8-byte store, whose last two bytes the next store
    // overwrites; the loop stops while a third pixel is left to do that.
    std::size_t i = 0;
    for (; i + 3 <= count; i += 2) {
        const std::uint64_t two = table[source[i]] | static_cast<std::uint64_t>(table[source[i + 1]]) << 24;
        std::memcpy(dest + 3 * i, &two, sizeof two);
    }
    for (; i < count; ++i)
        std::memcpy(dest + 3 * i, &table[source[i]], 3);
}

void ScalarRows::Lookup8To32(const BYTE* source, BYTE* dest, std::size_t count, const DWORD* table)
{
    for (std::size_t i = 0; i < count; ++i)
        std::memcpy(dest + 4 * i, &table[source[i]], 4);
}

void ScalarRows::KeyedCopy8(const BYTE* source, BYTE* dest, std::size_t count, BYTE key)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (source[i] != key)
            dest[i] = source[i];
    }
}

void ScalarRows::KeyedCopy16(const BYTE* source, BYTE* dest, std::size_t count, WORD key)
{
    for (std::size_t i = 0; i < count; ++i) {
        const WORD pixel = LoadWord(source + 2 * i);
        if (pixel != key)
            StoreWord(dest + 2 * i, pixel);
    }
}

void ScalarRows::KeyedCopy24(const BYTE* source, BYTE* dest, std::size_t count, const BYTE* key)
{
    for (std::size_t i = 0; i < count; ++i) {
        const BYTE* pixel = source + 3 * i;
        if (pixel[0] != key[0] || pixel[1] != key[1] || pixel[2] != key[2])
            std::memcpy(dest + 3 * i, pixel, 3);
    }
}

void ScalarRows::KeyedCopy32(const BYTE* source, BYTE* dest, std::size_t count, DWORD key)
{
    for (std::size_t i = 0; i < count; ++i) {
        DWORD pixel;
        std::memcpy(&pixel, source + 4 * i, sizeof pixel);
        if (((pixel ^ key) & 0x00FFFFFF) != 0)
            std::memcpy(dest + 4 * i, &pixel, sizeof pixel);
    }
}

void ScalarRows::KeyedEnlarge32(const BYTE* source, std::size_t first, BYTE* dest, std::size_t count, DWORD key,
                                std::size_t factor)
{
    for (std::size_t i = 0; i < count; ++i) {
        DWORD pixel;
        std::memcpy(&pixel, source + 4 * ((first + i) / factor), sizeof pixel);
        if (((pixel ^ key) & 0x00FFFFFF) != 0)
            std::memcpy(dest + 4 * i, &pixel, sizeof pixel);
    }
}
