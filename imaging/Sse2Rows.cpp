#include "imaging/Sse2Rows.h"

#if defined(__SSE2__)

#include <algorithm>
#include <emmintrin.h>

namespace {

__m128i Load(const BYTE* bytes)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}

__m128i Load64(const BYTE* bytes)
{
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bytes));
}

void Store(BYTE* bytes, __m128i value)
{
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), value);
}

__m128i Splat16(int value)
{
    return _mm_set1_epi16(static_cast<short>(value));
}

__m128i Splat32(int value)
{
    return _mm_set1_epi32(value);
}

// Where the key matches, the destination keeps its bytes.
__m128i Select(__m128i matches, __m128i source, __m128i dest)
{
    return _mm_or_si128(_mm_and_si128(matches, dest), _mm_andnot_si128(matches, source));
}

// Shift counts and masks that turn 16-bit pixels of one layout into
// 8-bit components and back.
struct Layout16 {
    explicit Layout16(bool layout565)
        : redDown(_mm_cvtsi32_si128(layout565 ? 8 : 7)), greenDown(_mm_cvtsi32_si128(layout565 ? 3 : 2)),
          greenMask(Splat16(layout565 ? 0xFC : 0xF8)), redUp(_mm_cvtsi32_si128(layout565 ? 8 : 9)),
          redField(Splat32(layout565 ? 0xF800 : 0x7C00)), greenUp(_mm_cvtsi32_si128(layout565 ? 5 : 6)),
          greenField(Splat32(layout565 ? 0x07E0 : 0x03E0))
    {
    }

    __m128i redDown, greenDown, greenMask;
    __m128i redUp, redField, greenUp, greenField;
};

// Four pixels in 32-bit lanes (blue, green, red, zero) packed into their
// first 12 bytes (blue, green, red each); the last four bytes are zero.
__m128i PackTwelve(__m128i pixels)
{
    const __m128i first = _mm_set_epi32(0, 0x00FFFFFF, 0, 0x00FFFFFF);
    const __m128i second = _mm_set_epi32(0x0000FFFF, static_cast<int>(0xFF000000), 0x0000FFFF,
                                         static_cast<int>(0xFF000000));
    const __m128i pairs =
        _mm_or_si128(_mm_and_si128(pixels, first), _mm_and_si128(_mm_srli_epi64(pixels, 8), second));
    return _mm_or_si128(_mm_move_epi64(pairs), _mm_slli_si128(_mm_srli_si128(pairs, 8), 6));
}

// Eight 16-bit pixels expanded into 24 bytes, as two 12-byte halves.
void ExpandEight(__m128i pixels, const Layout16& layout, __m128i& low, __m128i& high)
{
    const __m128i top5 = Splat16(0xF8);
    const __m128i red = _mm_and_si128(_mm_srl_epi16(pixels, layout.redDown), top5);
    const __m128i green = _mm_and_si128(_mm_srl_epi16(pixels, layout.greenDown), layout.greenMask);
    const __m128i blue = _mm_and_si128(_mm_slli_epi16(pixels, 3), top5);
    const __m128i blueGreen = _mm_or_si128(blue, _mm_slli_epi16(green, 8));
    low = PackTwelve(_mm_unpacklo_epi16(blueGreen, red));
    high = PackTwelve(_mm_unpackhi_epi16(blueGreen, red));
}

// Four pixels of 24 bits in the low 3 bytes of 32-bit lanes, reduced to
// 16-bit values in the low half of the same lanes.
__m128i ReduceFour(__m128i pixels, const Layout16& layout)
{
    const __m128i red = _mm_and_si128(_mm_srl_epi32(pixels, layout.redUp), layout.redField);
    const __m128i green = _mm_and_si128(_mm_srl_epi32(pixels, layout.greenUp), layout.greenField);
    const __m128i blue = _mm_and_si128(_mm_srli_epi32(pixels, 3), Splat32(0x001F));
    return _mm_or_si128(_mm_or_si128(red, green), blue);
}

// Lanes 0 and 2 of two vectors, in that order: a, a', b, b'.
__m128i EvenLanes(__m128i first, __m128i second)
{
    return _mm_unpacklo_epi64(_mm_shuffle_epi32(first, _MM_SHUFFLE(3, 1, 2, 0)),
                              _mm_shuffle_epi32(second, _MM_SHUFFLE(3, 1, 2, 0)));
}

// Changes each whole vector of eight 16-bit pixels in place; the pixels done.
template <typename Change>
std::size_t ChangeWords(BYTE* pixels, std::size_t count, Change change)
{
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8)
        Store(pixels + 2 * i, change(Load(pixels + 2 * i)));
    return i;
}

} // namespace

void Sse2Rows::AddClamp(BYTE* bytes, std::size_t count, int amount)
{
    const int step = std::clamp(amount, -255, 255);
    const __m128i delta = _mm_set1_epi8(static_cast<char>(step < 0 ? -step : step));
    std::size_t i = 0;
    if (step >= 0) {
        for (; i + 16 <= count; i += 16)
            Store(bytes + i, _mm_adds_epu8(Load(bytes + i), delta));
    } else {
        for (; i + 16 <= count; i += 16)
            Store(bytes + i, _mm_subs_epu8(Load(bytes + i), delta));
    }
    ScalarRows::AddClamp(bytes + i, count - i, step);
}

void Sse2Rows::AddClampColor32(BYTE* pixels, std::size_t count, int amount)
{
    const int step = std::clamp(amount, -255, 255);
    const int size = step < 0 ? -step : step;
    // The fourth byte of each pixel gets zero added or taken.
    const __m128i delta = Splat32(size | size << 8 | size << 16);
    std::size_t i = 0;
    if (step >= 0) {
        for (; i + 4 <= count; i += 4)
            Store(pixels + 4 * i, _mm_adds_epu8(Load(pixels + 4 * i), delta));
    } else {
        for (; i + 4 <= count; i += 4)
            Store(pixels + 4 * i, _mm_subs_epu8(Load(pixels + 4 * i), delta));
    }
    ScalarRows::AddClampColor32(pixels + 4 * i, count - i, step);
}

void Sse2Rows::BlendPattern(const BYTE* source, BYTE* dest, std::size_t count, const PixelPattern& pattern)
{
    const __m128i masks[3] = {Load(pattern.mask), Load(pattern.mask + 16), Load(pattern.mask + 32)};
    const __m128i values[3] = {Load(pattern.value), Load(pattern.value + 16), Load(pattern.value + 32)};
    std::size_t i = 0;
    for (; i + PixelPattern::PERIOD <= count; i += PixelPattern::PERIOD) {
        for (int part = 0; part < 3; ++part) {
            const std::size_t at = i + 16 * static_cast<std::size_t>(part);
            Store(dest + at, _mm_or_si128(_mm_andnot_si128(masks[part], Load(source + at)), values[part]));
        }
    }
    for (int part = 0; i + 16 <= count; i += 16, ++part)
        Store(dest + i, _mm_or_si128(_mm_andnot_si128(masks[part], Load(source + i)), values[part]));
    for (; i < count; ++i) {
        const std::size_t offset = i % PixelPattern::PERIOD;
        dest[i] = static_cast<BYTE>((source[i] & ~pattern.mask[offset]) | pattern.value[offset]);
    }
}

void Sse2Rows::FillPattern(BYTE* dest, std::size_t count, const PixelPattern& pattern)
{
    const __m128i values[3] = {Load(pattern.value), Load(pattern.value + 16), Load(pattern.value + 32)};
    std::size_t i = 0;
    for (; i + PixelPattern::PERIOD <= count; i += PixelPattern::PERIOD) {
        Store(dest + i, values[0]);
        Store(dest + i + 16, values[1]);
        Store(dest + i + 32, values[2]);
    }
    for (int part = 0; i + 16 <= count; i += 16, ++part)
        Store(dest + i, values[part]);
    for (; i < count; ++i)
        dest[i] = pattern.value[i % PixelPattern::PERIOD];
}

void Sse2Rows::Widen555To565(BYTE* pixels, std::size_t count)
{
    const __m128i upper = Splat16(0xFFC0);
    const __m128i blue = Splat16(0x001F);
    const std::size_t done = ChangeWords(pixels, count, [&](__m128i words) {
        return _mm_or_si128(_mm_and_si128(_mm_slli_epi16(words, 1), upper), _mm_and_si128(words, blue));
    });
    ScalarRows::Widen555To565(pixels + 2 * done, count - done);
}

void Sse2Rows::Narrow565To555(BYTE* pixels, std::size_t count)
{
    const __m128i upper = Splat16(0x7FE0);
    const __m128i blue = Splat16(0x001F);
    const std::size_t done = ChangeWords(pixels, count, [&](__m128i words) {
        return _mm_or_si128(_mm_and_si128(_mm_srli_epi16(words, 1), upper), _mm_and_si128(words, blue));
    });
    ScalarRows::Narrow565To555(pixels + 2 * done, count - done);
}

void Sse2Rows::Expand16To24(const BYTE* source, BYTE* dest, std::size_t count, bool layout565)
{
    const Layout16 layout(layout565);
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        __m128i a, b, c, d;
        ExpandEight(Load(source + 2 * i), layout, a, b);
        ExpandEight(Load(source + 2 * i + 16), layout, c, d);
        BYTE* out = dest + 3 * i;
        Store(out, _mm_or_si128(a, _mm_slli_si128(b, 12)));
        Store(out + 16, _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
        Store(out + 32, _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
    }
    ScalarRows::Expand16To24(source + 2 * i, dest + 3 * i, count - i, layout565);
}

void Sse2Rows::Reduce24To16(const BYTE* source, BYTE* dest, std::size_t count, bool layout565)
{
    const Layout16 layout(layout565);
    std::size_t i = 0;
    // Eight pixels are read as four 8-byte loads, the last one reaching two
    // bytes into the ninth pixel; the loop stops while that pixel exists.
    for (; i + 9 <= count; i += 8) {
        const BYTE* in = source + 3 * i;
        const __m128i first = _mm_unpacklo_epi64(Load64(in), Load64(in + 6));
        const __m128i second = _mm_unpacklo_epi64(Load64(in + 12), Load64(in + 18));
        const __m128i even = EvenLanes(first, second);
        const __m128i odd = EvenLanes(_mm_srli_epi64(first, 24), _mm_srli_epi64(second, 24));
        Store(dest + 2 * i, _mm_or_si128(ReduceFour(even, layout), _mm_slli_epi32(ReduceFour(odd, layout), 16)));
    }
    ScalarRows::Reduce24To16(source + 3 * i, dest + 2 * i, count - i, layout565);
}

void Sse2Rows::KeyedCopy8(const BYTE* source, BYTE* dest, std::size_t count, BYTE key)
{
    const __m128i keys = _mm_set1_epi8(static_cast<char>(key));
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m128i pixels = Load(source + i);
        Store(dest + i, Select(_mm_cmpeq_epi8(pixels, keys), pixels, Load(dest + i)));
    }
    ScalarRows::KeyedCopy8(source + i, dest + i, count - i, key);
}

void Sse2Rows::KeyedCopy16(const BYTE* source, BYTE* dest, std::size_t count, WORD key)
{
    const __m128i keys = Splat16(key);
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i pixels = Load(source + 2 * i);
        Store(dest + 2 * i, Select(_mm_cmpeq_epi16(pixels, keys), pixels, Load(dest + 2 * i)));
    }
    ScalarRows::KeyedCopy16(source + 2 * i, dest + 2 * i, count - i, key);
}

void Sse2Rows::KeyedCopy32(const BYTE* source, BYTE* dest, std::size_t count, DWORD key)
{
    const __m128i colour = Splat32(0x00FFFFFF);
    const __m128i keys = _mm_and_si128(Splat32(static_cast<int>(key)), colour);
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i pixels = Load(source + 4 * i);
        const __m128i matches = _mm_cmpeq_epi32(_mm_and_si128(pixels, colour), keys);
        Store(dest + 4 * i, Select(matches, pixels, Load(dest + 4 * i)));
    }
    ScalarRows::KeyedCopy32(source + 4 * i, dest + 4 * i, count - i, key);
}

void Sse2Rows::KeyedEnlarge32(const BYTE* source, std::size_t first, BYTE* dest, std::size_t count, DWORD key,
                              std::size_t factor)
{
    if (factor != 2) {
        ScalarRows::KeyedEnlarge32(source, first, dest, count, key, factor);
        return;
    }
    // An odd start draws the second half of its source pixel first.
    std::size_t i = std::min(first % 2, count);
    ScalarRows::KeyedEnlarge32(source, first, dest, i, key, 2);
    const __m128i colour = Splat32(0x00FFFFFF);
    const __m128i keys = _mm_and_si128(Splat32(static_cast<int>(key)), colour);
    for (; i + 4 <= count; i += 4) {
        const __m128i two = Load64(source + 4 * ((first + i) / 2));
        const __m128i pixels = _mm_unpacklo_epi32(two, two);
        const __m128i matches = _mm_cmpeq_epi32(_mm_and_si128(pixels, colour), keys);
        Store(dest + 4 * i, Select(matches, pixels, Load(dest + 4 * i)));
    }
    ScalarRows::KeyedEnlarge32(source, first + i, dest + 4 * i, count - i, key, 2);
}

#endif
