// The vector row loops against their plain twins, bit for bit, on every
// length up to several vectors, so each loop ends exactly on a vector
// boundary and one pixel either side. Buffers have the exact size, so the
// sanitizer build also catches a read or write past a row.
#include "imaging/PixelRows.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#if defined(__SSE2__)

namespace {

// Random pixels of `size` bytes, about half of them equal to `key` when one is given.
std::vector<BYTE> Pixels(std::size_t count, std::size_t size, std::vector<BYTE> key = {})
{
    std::mt19937 random(static_cast<unsigned>(count * 31 + size));
    std::vector<BYTE> bytes(count * size);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = key.empty() || random() % 2 ? static_cast<BYTE>(random()) : key[i % size];
    return bytes;
}

// Runs a loop of each kind on equal copies of a destination, for every length.
template <typename Loop>
void ExpectTwins(std::size_t destPixelSize, Loop loop)
{
    for (std::size_t count = 0; count <= 100; ++count) {
        std::vector<BYTE> plain = Pixels(count, destPixelSize);
        std::vector<BYTE> fast = plain;
        loop(count, plain.data(), fast.data());
        ASSERT_EQ(plain, fast) << "count " << count;
    }
}

} // namespace

TEST(Sse2Rows, InPlaceAndPatternLoopsMatch)
{
    for (int amount : {-100000, -256, -255, -10, 0, 10, 255, 100000}) {
        ExpectTwins(1, [&](std::size_t n, BYTE* plain, BYTE* fast) {
            ScalarRows::AddClamp(plain, n, amount);
            Sse2Rows::AddClamp(fast, n, amount);
        });
        ExpectTwins(4, [&](std::size_t n, BYTE* plain, BYTE* fast) {
            ScalarRows::AddClampColor32(plain, n, amount);
            Sse2Rows::AddClampColor32(fast, n, amount);
        });
    }
    ExpectTwins(2, [](std::size_t n, BYTE* plain, BYTE* fast) {
        ScalarRows::Widen555To565(plain, n);
        Sse2Rows::Widen555To565(fast, n);
        ScalarRows::Narrow565To555(plain + n / 2 * 2, n - n / 2);
        Sse2Rows::Narrow565To555(fast + n / 2 * 2, n - n / 2);
    });
    for (std::size_t size : {1u, 2u, 3u, 4u}) {
        const PixelValue pixel{{0xA1, 0xB2, 0xC3, 0xFF}, size};
        for (const PixelPattern& pattern :
             {MakeAlternatePattern(pixel, 0), MakeAlternatePattern(pixel, 1), MakeSolidPattern(pixel)}) {
            ExpectTwins(3, [&](std::size_t n, BYTE* plain, BYTE* fast) {
                const std::vector<BYTE> source = Pixels(2 * n, 1);
                ScalarRows::BlendPattern(source.data(), plain, 2 * n, pattern);
                Sse2Rows::BlendPattern(source.data(), fast, 2 * n, pattern);
                ScalarRows::BlendPattern(plain + n, plain + n, 2 * n, pattern);
                Sse2Rows::BlendPattern(fast + n, fast + n, 2 * n, pattern);
                ScalarRows::FillPattern(plain + 2 * n, n, pattern);
                Sse2Rows::FillPattern(fast + 2 * n, n, pattern);
            });
        }
    }
}

TEST(Sse2Rows, DepthConversionsAndKeyedCopiesMatch)
{
    for (bool layout565 : {true, false}) {
        ExpectTwins(3, [&](std::size_t n, BYTE* plain, BYTE* fast) {
            const std::vector<BYTE> words = Pixels(n, 2);
            ScalarRows::Expand16To24(words.data(), plain, n, layout565);
            Sse2Rows::Expand16To24(words.data(), fast, n, layout565);
        });
        ExpectTwins(2, [&](std::size_t n, BYTE* plain, BYTE* fast) {
            const std::vector<BYTE> triples = Pixels(n, 3);
            ScalarRows::Reduce24To16(triples.data(), plain, n, layout565);
            Sse2Rows::Reduce24To16(triples.data(), fast, n, layout565);
        });
    }
    for (BYTE key : {BYTE{0}, BYTE{253}, BYTE{255}}) {
        const auto high = static_cast<BYTE>(key ^ 0x5A);
        ExpectTwins(2, [&](std::size_t n, BYTE* plain, BYTE* fast) {
            const std::vector<BYTE> bytes = Pixels(n, 1, {key});
            ScalarRows::KeyedCopy8(bytes.data(), plain, n, key);
            Sse2Rows::KeyedCopy8(bytes.data(), fast, n, key);
            const std::vector<BYTE> words = Pixels(n, 2, {key, high});
            ScalarRows::KeyedCopy16(words.data(), plain, n, static_cast<WORD>(key | high << 8));
            Sse2Rows::KeyedCopy16(words.data(), fast, n, static_cast<WORD>(key | high << 8));
        });
        // The fourth byte of a 32-bit pixel is no part of its colour: half the
        // pixels match the key's colour with some other fourth byte.
        ExpectTwins(4, [&](std::size_t n, BYTE* plain, BYTE* fast) {
            std::vector<BYTE> pixels = Pixels(n, 4, {key, high, key, 0xFF});
            for (std::size_t i = 3; i < pixels.size(); i += 8)
                pixels[i] = static_cast<BYTE>(i);
            const DWORD keyPixel = key | high << 8 | static_cast<DWORD>(key) << 16 | 0xFF000000u;
            ScalarRows::KeyedCopy32(pixels.data(), plain, n, keyPixel);
            Sse2Rows::KeyedCopy32(pixels.data(), fast, n, keyPixel);
            // Enlarged twice from an even or an odd start, reading only the
            // source pixels the row shows.
            for (std::size_t first : {0u, 1u}) {
                const std::size_t shown = n == 0 ? 0 : (first + n + 1) / 2;
                const std::vector<BYTE> half(pixels.begin(), pixels.begin() + static_cast<std::ptrdiff_t>(4 * shown));
                ScalarRows::KeyedEnlarge32(half.data(), first, plain, n, keyPixel, 2);
                Sse2Rows::KeyedEnlarge32(half.data(), first, fast, n, keyPixel, 2);
            }
        });
    }
}

#endif
