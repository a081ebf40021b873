#include "platform/present/AreaScale.h"

#include <algorithm>
#include <cstdint>
#include <vector>

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
    const int readWidth = columns.Highest() - firstColumn;
    const std::size_t width = static_cast<std::size_t>(clip.right - clip.left);
    const std::uint64_t total = static_cast<std::uint64_t>(sourceWidth) * static_cast<std::uint64_t>(sourceHeight);

    std::vector<std::uint32_t> line(static_cast<std::size_t>(readWidth));
    std::vector<std::uint64_t> sums(3 * width);
    for (int y = clip.top; y < clip.bottom; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        const auto& down = rows[static_cast<std::size_t>(y - clip.top)];
        for (int k = 0; k < down.count; ++k) {
            const std::uint64_t rowWeight = rows.Weight(down, k);
            reader.ConvertRow(source, from.top + down.first + k, from.left + firstColumn, readWidth,
                              reinterpret_cast<BYTE*>(line.data()));
            for (std::size_t x = 0; x < width; ++x) {
                const auto& across = columns[x];
                std::uint64_t red = 0;
                std::uint64_t green = 0;
                std::uint64_t blue = 0;
                const std::uint32_t* pixel = line.data() + (across.first - firstColumn);
                for (int c = 0; c < across.count; ++c) {
                    const std::uint32_t weight = columns.Weight(across, c);
                    red += weight * (pixel[c] >> 16 & 0xFF);
                    green += weight * (pixel[c] >> 8 & 0xFF);
                    blue += weight * (pixel[c] & 0xFF);
                }
                sums[3 * x] += rowWeight * red;
                sums[3 * x + 1] += rowWeight * green;
                sums[3 * x + 2] += rowWeight * blue;
            }
        }
        BYTE* out = target.At(clip.left, y);
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint64_t red = (sums[3 * x] + total / 2) / total;
            const std::uint64_t green = (sums[3 * x + 1] + total / 2) / total;
            const std::uint64_t blue = (sums[3 * x + 2] + total / 2) / total;
            const auto rgb = static_cast<std::uint32_t>(red << 16 | green << 8 | blue);
            StorePixel(out + x * target.bytesPerPixel, target.bytesPerPixel, encoder.EncodeExact(rgb));
        }
    }
}
