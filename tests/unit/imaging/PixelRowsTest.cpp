// The vector row loops against their plain twins, bit for bit, on every
// length up to several vectors: each loop ends exactly on a vector boundary
// and one pixel either side of it. Buffers have the exact size, so the
// sanitizer build also catches a read or write past a row.
#include "imaging/PixelRows.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#if defined(__SSE2__)

namespace {

constexpr std::size_t LONGEST = 100;

// Random bytes in which every `size`-byte pixel equals `key` about half the time.
std::vector<BYTE> Pixels(std::size_t count, std::size_t size, std::vector<BYTE> key = {})
{
    std::mt19937 random(static_cast<unsigned>(count * 31 + size));
    std::vector<BYTE> bytes(count * size);
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t b = 0; b < size; ++b)
            bytes[i * size + b] = key.empty() || random() % 2 ? static_cast<BYTE>(random()) : key[b];
    }
    return bytes;
}

std::vector<BYTE> EveryWord()
{
    std::vector<BYTE> bytes(2 * 65536);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<BYTE>(i % 2 ? i >> 9 : i >> 1);
    return bytes;
}

// Runs the same loop of both kinds on copies of `dest` for every length.
template <typename Loop>
void ExpectTwins(std::size_t destBytesPerPixel, Loop loop)
{
    for (std::size_t count = 0; count <= LONGEST; ++count) {
        std::vector<BYTE> plain = Pixels(count, destBytesPerPixel);
        std::vector<BYTE> fast = plain;
        loop(count, plain.data(), fast.data());
        ASSERT_EQ(plain, fast) << "count " << count;
    }
}

} // namespace

TEST(Sse2Rows, InPlaceLoopsMatch)
{
    for (int amount : {-100000, -256, -255, -10, -1, 0, 1, 10, 255, 256, 100000}) {
        ExpectTwins(1, [&](std::size_t n, BYTE* plain, BYTE* fast) {
            ScalarRows::AddClamp(plain, n, amount);
            Sse2Rows::AddClamp(fast, n, amount);
        });
    }
    ExpectTwins(2, [](std::size_t n, BYTE* plain, BYTE* fast) {
        ScalarRows::Widen555To565(plain, n);
        Sse2Rows::Widen555To565(fast, n);
    });
    ExpectTwins(2, [](std::size_t n, BYTE* plain, BYTE* fast) {
        ScalarRows::Narrow565To555(plain, n);
        Sse2Rows::Narrow565To555(fast, n);
    });
    std::vector<BYTE> plain = EveryWord();
    std::vector<BYTE> fast = plain;
    ScalarRows::Widen555To565(plain.data(), 65536);
    Sse2Rows::Widen555To565(fast.data(), 65536);
    ScalarRows::Narrow565To555(plain.data(), 65536);
    Sse2Rows::Narrow565To555(fast.data(), 65536);
    EXPECT_EQ(plain, fast);
}

TEST(Sse2Rows, PatternLoopsMatchAtEveryPixelSize)
{
    for (std::size_t size : {1u, 2u, 3u}) {
        const PixelValue pixel{{0xA1, 0xB2, 0xC3}, size};
        for (const PixelPattern& pattern :
             {MakeAlternatePattern(pixel, 0), MakeAlternatePattern(pixel, 1), MakeSolidPattern(pixel)}) {
            ExpectTwins(3, [&](std::size_t n, BYTE* plain, BYTE* fast) {
                const std::vector<BYTE> source = Pixels(3 * n, 1);
                ScalarRows::BlendPattern(source.data(), plain, 3 * n, pattern);
                Sse2Rows::BlendPattern(source.data(), fast, 3 * n, pattern);
                ScalarRows::BlendPattern(plain, plain, 3 * n - n, pattern);
                Sse2Rows::BlendPattern(fast, fast, 3 * n - n, pattern);
                ScalarRows::FillPattern(plain + n, 2 * n, pattern);
                Sse2Rows::FillPattern(fast + n, 2 * n, pattern);
            });
        }
    }
}

TEST(Sse2Rows, DepthConversionsMatchInBothLayouts)
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
        const std::vector<BYTE> words = EveryWord();
        std::vector<BYTE> plain(3 * 65536);
        std::vector<BYTE> fast(3 * 65536);
        ScalarRows::Expand16To24(words.data(), plain.data(), 65536, layout565);
        Sse2Rows::Expand16To24(words.data(), fast.data(), 65536, layout565);
        EXPECT_EQ(plain, fast);
    }
}

TEST(Sse2Rows, KeyedCopiesMatchWithKeysOfEveryByte)
{
    for (BYTE key : {BYTE{0}, BYTE{253}, BYTE{255}}) {
        ExpectTwins(1, [&](std::size_t n, BYTE* plain, BYTE* fast) {
            const std::vector<BYTE> source = Pixels(n, 1, {key});
            ScalarRows::KeyedCopy8(source.data(), plain, n, key);
            Sse2Rows::KeyedCopy8(source.data(), fast, n, key);
        });
        const auto high = static_cast<BYTE>(key ^ 0x5A);
        ExpectTwins(2, [&](std::size_t n, BYTE* plain, BYTE* fast) {
            const std::vector<BYTE> source = Pixels(n, 2, {key, high});
            ScalarRows::KeyedCopy16(source.data(), plain, n, static_cast<WORD>(key | high << 8));
            Sse2Rows::KeyedCopy16(source.data(), fast, n, static_cast<WORD>(key | high << 8));
        });
    }
}

#endif

TEST(ScalarRows, KeyedCopiesSkipOnlyWholeKeyPixels)
{
    const BYTE source[6] = {0x1F, 0xF8, 0x1F, 0x00, 0x00, 0xF8};
    std::vector<BYTE> dest(6, 1);
    ScalarRows::KeyedCopy16(source, dest.data(), 3, 0xF81F);
    EXPECT_EQ(dest, (std::vector<BYTE>{1, 1, 0x1F, 0x00, 0x00, 0xF8}));
    const BYTE key[3] = {0x1F, 0xF8, 0x1F};
    dest.assign(6, 1);
    ScalarRows::KeyedCopy24(source, dest.data(), 2, key);
    EXPECT_EQ(dest, (std::vector<BYTE>{1, 1, 1, 0x00, 0x00, 0xF8}));
}
