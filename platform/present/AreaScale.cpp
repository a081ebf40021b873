#include "platform/present/AreaScale.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
// The source pixels under each of a range of target pixels on one axis,
// in units where a source pixel is `targetLength` long and a target pixel
// `sourceLength`, so that every weight is a whole number.
class AreaAxis {
public:
    AreaAxis(int sourceLength, int targetLength, std::int64_t first, std::int64_t last)
    {
        const std::int64_t s = sourceLength;
        const std::int64_t t = targetLength;
        m_spans.reserve(static_cast<std::size_t>(last - first));
        for (std::int64_t d = first; d < last; ++d) {
            const std::int64_t start = d * s;
            const std::int64_t end = start + s;
            Span span{static_cast<int>(start / t), 0, m_weights.size()};
            for (std::int64_t i = start / t; i * t < end; ++i) {
                const std::int64_t from = std::max(i * t, start);
                const std::int64_t to = std::min((i + 1) * t, end);
                m_weights.push_back(static_cast<std::uint32_t>(to - from));
                ++span.count;
            }
            m_spans.push_back(span);
        }
    }

    struct Span {
        int first;
        int count;
        std::size_t weights;
    };

    const Span& operator[](std::size_t i) const { return m_spans[i]; }
    std::uint32_t Weight(const Span& span, int k) const { return m_weights[span.weights + k]; }
    int Lowest() const { return m_spans.front().first; }
    int Highest() const { return m_spans.back().first + m_spans.back().count; }

private:
    std::vector<Span> m_spans;
    std::vector<std::uint32_t> m_weights;
};

// The three planes of sums a target row gathers, one entry a source column.
struct Planes {
    std::uint32_t* red;
    std::uint32_t* green;
    std::uint32_t* blue;
};

#if defined(__SSE2__)
// Adds to four entries of `plane` from column i the products that the
// multiply-add of 16-bit halves makes of `halves` and `weights` (each lane
// one or two values below 0x8000 and as many weights).
void AddProducts(std::uint32_t* plane, std::size_t i, __m128i halves, __m128i weights)
{
    auto* at = reinterpret_cast<__m128i*>(plane + i);
    _mm_storeu_si128(at, _mm_add_epi32(_mm_loadu_si128(at), _mm_madd_epi16(halves, weights)));
}
#endif

void AddOne(const Planes& planes, std::size_t i, std::uint32_t rgb, std::uint32_t weight)
{
    planes.red[i] += weight * (rgb >> 16 & 0xFF);
    planes.green[i] += weight * (rgb >> 8 & 0xFF);
    planes.blue[i] += weight * (rgb & 0xFF);
}

// Adds `count` 0x00RRGGBB pixels, each times `weight`, to the planes.
void AddWeighted(const std::uint32_t* line, std::size_t count, std::uint32_t weight, const Planes& planes)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    if (weight < 0x8000) {
        const __m128i weights = _mm_set1_epi32(static_cast<int>(weight));
        const __m128i low = _mm_set1_epi32(0xFF);
        for (; i + 4 <= count; i += 4) {
            const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + i));
            AddProducts(planes.red, i, _mm_and_si128(_mm_srli_epi32(pixels, 16), low), weights);
            AddProducts(planes.green, i, _mm_and_si128(_mm_srli_epi32(pixels, 8), low), weights);
            AddProducts(planes.blue, i, _mm_and_si128(pixels, low), weights);
        }
    }
#endif
    for (; i < count; ++i)
        AddOne(planes, i, line[i], weight);
}

// A 5-6-5 pixel as the 32-bit conversion reads it: each channel at the top
// of its byte.
std::uint32_t Expand565(const BYTE* pixel)
{
    const std::uint32_t p = static_cast<std::uint32_t>(pixel[0] | pixel[1] << 8);
    return (p >> 8 & 0xF8) << 16 | (p >> 3 & 0xFC) << 8 | (p << 3 & 0xF8);
}

// The same for two rows of `count` 5-6-5 pixels, each with its weight: a
// 32-bit lane holds a pixel of each row, and one multiply-add weighs both.
void AddWeighted565(const BYTE* first, std::uint32_t firstWeight, const BYTE* second, std::uint32_t secondWeight,
                    std::size_t count, const Planes& planes)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    if (firstWeight < 0x8000 && secondWeight < 0x8000) {
        const __m128i weights = _mm_set1_epi32(static_cast<int>(firstWeight | secondWeight << 16));
        const __m128i top5 = _mm_set1_epi16(0xF8);
        const __m128i top6 = _mm_set1_epi16(0xFC);
        const auto add = [&](std::uint32_t* plane, __m128i fromFirst, __m128i fromSecond) {
            AddProducts(plane, i, _mm_unpacklo_epi16(fromFirst, fromSecond), weights);
            AddProducts(plane, i + 4, _mm_unpackhi_epi16(fromFirst, fromSecond), weights);
        };
        for (; i + 8 <= count; i += 8) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + 2 * i));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(second + 2 * i));
            add(planes.red, _mm_and_si128(_mm_srli_epi16(a, 8), top5), _mm_and_si128(_mm_srli_epi16(b, 8), top5));
            add(planes.green, _mm_and_si128(_mm_srli_epi16(a, 3), top6), _mm_and_si128(_mm_srli_epi16(b, 3), top6));
            add(planes.blue, _mm_and_si128(_mm_slli_epi16(a, 3), top5), _mm_and_si128(_mm_slli_epi16(b, 3), top5));
        }
    }
#endif
    for (; i < count; ++i) {
        AddOne(planes, i, Expand565(first + 2 * i), firstWeight);
        AddOne(planes, i, Expand565(second + 2 * i), secondWeight);
    }
}
}

void ScaleArea(const DibSource& source, const PixelConverter& reader, const RECT& from, const RECT& to,
               const RECT& clip, const PixelEncoder& encoder, const PixelTarget& target)
{
    const int sourceWidth = from.right - from.left;
    const int sourceHeight = from.bottom - from.top;
    const int targetWidth = to.right - to.left;
    const int targetHeight = to.bottom - to.top;
    if (clip.left >= clip.right || clip.top >= clip.bottom || sourceWidth <= 0 || sourceHeight <= 0)
        return;
    const std::int64_t left = to.left;
    const std::int64_t top = to.top;
    const AreaAxis columns(sourceWidth, targetWidth, clip.left - left, clip.right - left);
    const AreaAxis rows(sourceHeight, targetHeight, clip.top - top, clip.bottom - top);
    const int firstColumn = columns.Lowest();
    const auto readWidth = static_cast<std::size_t>(columns.Highest() - firstColumn);
    const std::size_t width = static_cast<std::size_t>(clip.right - clip.left);
    const std::uint64_t total = static_cast<std::uint64_t>(sourceWidth) * static_cast<std::uint64_t>(sourceHeight);
    // Each target row first sums its source rows column by column, then
    // each target pixel sums its columns: the same weighted sum as pixel by
    // pixel, in loops over whole rows. The row weights of one target row
    // add up to the source's height, so a plane holds at most 255 times it.
    const bool rgb565 = source.BitCount() == 16 && source.RedMask() == 0xF800 && source.GreenMask() == 0x07E0 &&
                        source.BlueMask() == 0x001F;
    std::vector<std::uint32_t> line(readWidth);
    std::vector<std::uint32_t> columnSums(3 * readWidth);
    const Planes planes{columnSums.data(), columnSums.data() + readWidth, columnSums.data() + 2 * readWidth};
    const std::uint32_t* red = planes.red;
    const std::uint32_t* green = planes.green;
    const std::uint32_t* blue = planes.blue;
    for (int y = clip.top; y < clip.bottom; ++y) {
        std::fill(columnSums.begin(), columnSums.end(), 0);
        const auto& down = rows[static_cast<std::size_t>(y - clip.top)];
        const int sourceColumn = from.left + firstColumn;
        const auto rowAt = [&](int k) { return source.Row(from.top + down.first + k) + 2 * sourceColumn; };
        // 5-6-5 rows go two at a time, the odd last one with a weightless partner.
        for (int k = 0; rgb565 && k < down.count; k += 2) {
            const bool pair = k + 1 < down.count;
            AddWeighted565(rowAt(k), rows.Weight(down, k), rowAt(pair ? k + 1 : k), pair ? rows.Weight(down, k + 1) : 0,
                           readWidth, planes);
        }
        for (int k = 0; !rgb565 && k < down.count; ++k) {
            reader.ConvertRow(source, from.top + down.first + k, sourceColumn, static_cast<int>(readWidth),
                              reinterpret_cast<BYTE*>(line.data()));
            AddWeighted(line.data(), readWidth, rows.Weight(down, k), planes);
        }
        BYTE* out = target.At(clip.left, y);
        for (std::size_t x = 0; x < width; ++x) {
            const auto& across = columns[x];
            std::uint64_t sums[3] = {0, 0, 0};
            const std::size_t first = static_cast<std::size_t>(across.first - firstColumn);
            for (int c = 0; c < across.count; ++c) {
                const std::uint64_t weight = columns.Weight(across, c);
                sums[0] += weight * red[first + static_cast<std::size_t>(c)];
                sums[1] += weight * green[first + static_cast<std::size_t>(c)];
                sums[2] += weight * blue[first + static_cast<std::size_t>(c)];
            }
            const std::uint64_t r = (sums[0] + total / 2) / total;
            const std::uint64_t g = (sums[1] + total / 2) / total;
            const std::uint64_t b = (sums[2] + total / 2) / total;
            StorePixel(out + x * target.bytesPerPixel, target.bytesPerPixel,
                       encoder.EncodeExact(static_cast<std::uint32_t>(r << 16 | g << 8 | b)));
        }
    }
}
