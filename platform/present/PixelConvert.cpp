#include "platform/present/PixelConvert.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
constexpr DWORD MASKS_565[3] = {0xF800, 0x07E0, 0x001F};
constexpr DWORD MASKS_555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr DWORD MASKS_888[3] = {0xFF0000, 0x00FF00, 0x0000FF};
constexpr DWORD MASKS_RED_FIRST[3] = {0x0000FF, 0x00FF00, 0xFF0000};

bool SameMasks(const DWORD a[3], const DWORD b[3]) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

bool HasMasks(const PixelEncoder& target, const DWORD masks[3])
{
    return !target.IsIndexed() && target.RedMask() == masks[0] && target.GreenMask() == masks[1] &&
           target.BlueMask() == masks[2];
}

std::uint16_t Load16(const BYTE* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

void Store32(BYTE* out, std::uint32_t pixel) { StorePixel(out, 4, pixel); }

template <int Bytes>
void StoreFromTable(const std::uint32_t* table, const BYTE* indices, int count, BYTE* out)
{
    for (int i = 0; i < count; ++i)
        StorePixel(out + i * Bytes, Bytes, table[indices[i]]);
}

void StoreFromTable(int bytes, const std::uint32_t* table, const BYTE* indices, int count, BYTE* out)
{
    switch (bytes) {
    case 1:
        for (int i = 0; i < count; ++i)
            out[i] = static_cast<BYTE>(table[indices[i]]);
        break;
    case 2:
        StoreFromTable<2>(table, indices, count, out);
        break;
    case 3:
        StoreFromTable<3>(table, indices, count, out);
        break;
    default:
        StoreFromTable<4>(table, indices, count, out);
        break;
    }
}

#if defined(__SSE2__)
// Eight 16-bit pixels whose channels were each moved to the top of a byte
// lane become eight 0x00RRGGBB pixels.
void StoreWidened(__m128i red, __m128i green, __m128i blue, BYTE* out)
{
    const __m128i blueGreen = _mm_or_si128(blue, _mm_slli_epi16(green, 8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(blueGreen, red));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), _mm_unpackhi_epi16(blueGreen, red));
}
#endif

// 16-bit pixels to 0x00RRGGBB: red moves to the top of a byte by a right
// shift of `Red`, green by `Green` (keeping `GreenBits` of the byte), blue
// by a left shift of 3; the low bits left over are zero.
template <int Red, int Green, int GreenBits>
void Convert16To32(const BYTE* in, int count, BYTE* out)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i top5 = _mm_set1_epi16(0xF8);
    const __m128i greenTop = _mm_set1_epi16(GreenBits);
    for (; i + 8 <= count; i += 8) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 2 * i));
        StoreWidened(_mm_and_si128(_mm_srli_epi16(p, Red), top5), _mm_and_si128(_mm_srli_epi16(p, Green), greenTop),
                     _mm_and_si128(_mm_slli_epi16(p, 3), top5), out + 4 * i);
    }
#endif
    for (; i < count; ++i) {
        const std::uint32_t p = Load16(in + 2 * i);
        Store32(out + 4 * i, (p >> Red & 0xF8) << 16 | (p >> Green & GreenBits) << 8 | (p << 3 & 0xF8));
    }
}
// 0x00RRGGBB pixels to 5-6-5, each channel keeping its top bits.
void Convert32To565(const BYTE* in, int count, BYTE* out)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i redMask = _mm_set1_epi32(0xF800);
    const __m128i greenMask = _mm_set1_epi32(0x07E0);
    const __m128i blueMask = _mm_set1_epi32(0x001F);
    const auto narrow = [&](__m128i p) {
        const __m128i packed = _mm_or_si128(_mm_or_si128(_mm_and_si128(_mm_srli_epi32(p, 8), redMask),
                                                         _mm_and_si128(_mm_srli_epi32(p, 5), greenMask)),
                                            _mm_and_si128(_mm_srli_epi32(p, 3), blueMask));
        // Sign-extended, the 16-bit values pass the signed saturation of the pack unchanged.
        return _mm_srai_epi32(_mm_slli_epi32(packed, 16), 16);
    };
    for (; i + 8 <= count; i += 8) {
        const __m128i low = narrow(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * i)));
        const __m128i high = narrow(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * i + 16)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i), _mm_packs_epi32(low, high));
    }
#endif
    for (; i < count; ++i) {
        const std::uint32_t p = static_cast<std::uint32_t>(in[4 * i] | in[4 * i + 1] << 8 | in[4 * i + 2] << 16);
        StorePixel(out + 2 * i, 2, (p >> 8 & 0xF800) | (p >> 5 & 0x07E0) | (p >> 3 & 0x001F));
    }
}

// 0x00RRGGBB pixels to blue, green, red bytes.
void Convert32To24(const BYTE* in, int count, BYTE* out)
{
    for (int i = 0; i < count; ++i) {
        out[3 * i] = in[4 * i];
        out[3 * i + 1] = in[4 * i + 1];
        out[3 * i + 2] = in[4 * i + 2];
    }
}
} // namespace

void Convert565To32(const BYTE* in, int count, BYTE* out) { Convert16To32<8, 3, 0xFC>(in, count, out); }

void Convert555To32(const BYTE* in, int count, BYTE* out) { Convert16To32<7, 2, 0xF8>(in, count, out); }

PixelConverter::PixelConverter(const DibSource& source, const PixelEncoder& target)
    : m_target(target), m_bitCount(source.BitCount()), m_masks{source.RedMask(), source.GreenMask(), source.BlueMask()}
{
    if (source.IsIndexed()) {
        m_path = Path::Indexed;
        m_sourcePalette.assign(source.Palette(), source.Palette() + source.PaletteSize());
        m_lookup.resize(256);
        for (int i = 0; i < 256; ++i)
            m_lookup[i] = target.EncodeExact(source.Palette()[i]);
        return;
    }
    const bool to32 = target.BitsPerPixel() == 32 && HasMasks(target, MASKS_888);
    if (target.BitsPerPixel() == m_bitCount && HasMasks(target, m_masks))
        m_path = Path::Copy;
    else if (m_bitCount == 16 && SameMasks(m_masks, MASKS_565) && to32)
        m_path = Path::Rgb565To32;
    else if (m_bitCount == 16 && SameMasks(m_masks, MASKS_555) && to32)
        m_path = Path::Rgb555To32;
    else if (m_bitCount == 16 && SameMasks(m_masks, MASKS_565) && target.BitsPerPixel() == 16 &&
             HasMasks(target, MASKS_555))
        m_path = Path::Rgb565To555;
    else if (m_bitCount == 16 && SameMasks(m_masks, MASKS_555) && target.BitsPerPixel() == 16 &&
             HasMasks(target, MASKS_565))
        m_path = Path::Rgb555To565;
    else if (m_bitCount == 24 && SameMasks(m_masks, MASKS_888) && to32)
        m_path = Path::Bgr24To32;
    else if (m_bitCount == 32 && SameMasks(m_masks, MASKS_888) && target.BitsPerPixel() == 16 &&
             HasMasks(target, MASKS_565))
        m_path = Path::Rgb32To565;
    else if (m_bitCount == 32 && SameMasks(m_masks, MASKS_888) && target.BitsPerPixel() == 24 &&
             HasMasks(target, MASKS_888))
        m_path = Path::Rgb32To24;
    else if (m_bitCount == 32 && target.BitsPerPixel() == 32 &&
             ((SameMasks(m_masks, MASKS_888) && HasMasks(target, MASKS_RED_FIRST)) ||
              (SameMasks(m_masks, MASKS_RED_FIRST) && HasMasks(target, MASKS_888)))) {
        m_path = Path::Swap32;
        m_opaque = target.Encode(0);
    } else if (m_bitCount == 32 && SameMasks(m_masks, MASKS_888) && !target.IsIndexed())
        m_path = Path::Rgb32ToEncoded;
    else if (m_bitCount == 16) {
        m_path = Path::Lookup16;
        m_lookup.resize(1 << 16);
        for (std::uint32_t pixel = 0; pixel < (1u << 16); ++pixel)
            m_lookup[pixel] = target.EncodeExact(source.MaskedToRgb(pixel));
    }
}

bool PixelConverter::Serves(const DibSource& source) const
{
    if (source.BitCount() != m_bitCount)
        return false;
    if (source.IsIndexed())
        return static_cast<std::size_t>(source.PaletteSize()) == m_sourcePalette.size() &&
               std::memcmp(source.Palette(), m_sourcePalette.data(), m_sourcePalette.size() * 4) == 0;
    return source.RedMask() == m_masks[0] && source.GreenMask() == m_masks[1] && source.BlueMask() == m_masks[2];
}

void PixelConverter::ConvertRow(const DibSource& source, int y, int x, int count, BYTE* out) const
{
    const BYTE* row = source.Row(y);
    const int bytes = m_target.BytesPerPixel();
    switch (m_path) {
    case Path::Indexed:
        ConvertIndexed(source, row, x, count, out);
        break;
    case Path::Copy:
        std::memcpy(out, row + static_cast<std::ptrdiff_t>(x) * bytes, static_cast<std::size_t>(count) * bytes);
        break;
    case Path::Rgb565To32:
        Convert565To32(row + 2 * x, count, out);
        break;
    case Path::Rgb555To32:
        Convert555To32(row + 2 * x, count, out);
        break;
    case Path::Rgb565To555:
        for (int i = 0; i < count; ++i) {
            const std::uint32_t p = Load16(row + 2 * (x + i));
            StorePixel(out + 2 * i, 2, (p >> 1 & 0x7FE0) | (p & 0x001F));
        }
        break;
    case Path::Rgb555To565:
        for (int i = 0; i < count; ++i) {
            const std::uint32_t p = Load16(row + 2 * (x + i));
            StorePixel(out + 2 * i, 2, (p << 1 & 0xFFC0) | (p & 0x001F));
        }
        break;
    case Path::Lookup16:
        for (int i = 0; i < count; ++i)
            StorePixel(out + i * bytes, bytes, m_lookup[Load16(row + 2 * (x + i))]);
        break;
    case Path::Bgr24To32:
        for (int i = 0; i < count; ++i) {
            const BYTE* p = row + 3 * (x + i);
            Store32(out + 4 * i, static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0]);
        }
        break;
    case Path::Rgb32To565:
        Convert32To565(row + 4 * x, count, out);
        break;
    case Path::Rgb32To24:
        Convert32To24(row + 4 * x, count, out);
        break;
    case Path::Swap32:
        for (int i = 0; i < count; ++i) {
            std::uint32_t p;
            std::memcpy(&p, row + 4 * (x + i), sizeof p);
            Store32(out + 4 * i, (p >> 16 & 0xFF) | (p & 0xFF00) | (p & 0xFF) << 16 | m_opaque);
        }
        break;
    case Path::Rgb32ToEncoded:
        for (int i = 0; i < count; ++i) {
            std::uint32_t p;
            std::memcpy(&p, row + 4 * (x + i), sizeof p);
            StorePixel(out + i * bytes, bytes, m_target.Encode(p & 0xFFFFFF));
        }
        break;
    case Path::Generic:
        ConvertGeneric(source, y, x, count, out);
        break;
    }
}

void PixelConverter::ConvertIndexed(const DibSource& source, const BYTE* row, int x, int count, BYTE* out) const
{
    const int bytes = m_target.BytesPerPixel();
    if (source.BitCount() == 8) {
        StoreFromTable(bytes, m_lookup.data(), row + x, count, out);
        return;
    }
    BYTE indices[256];
    const int perByte = 8 / source.BitCount();
    const int mask = (1 << source.BitCount()) - 1;
    for (int done = 0; done < count;) {
        const int chunk = count - done < 256 ? count - done : 256;
        for (int i = 0; i < chunk; ++i) {
            const int column = x + done + i;
            const int shift = (perByte - 1 - column % perByte) * source.BitCount();
            indices[i] = static_cast<BYTE>(row[column / perByte] >> shift & mask);
        }
        StoreFromTable(bytes, m_lookup.data(), indices, chunk, out + static_cast<std::ptrdiff_t>(done) * bytes);
        done += chunk;
    }
}

void PixelConverter::ConvertGeneric(const DibSource& source, int y, int x, int count, BYTE* out) const
{
    const int bytes = m_target.BytesPerPixel();
    std::uint32_t rgb[256];
    for (int done = 0; done < count;) {
        const int chunk = count - done < 256 ? count - done : 256;
        source.ReadRgb(y, x + done, chunk, rgb);
        for (int i = 0; i < chunk; ++i)
            StorePixel(out + static_cast<std::ptrdiff_t>(done + i) * bytes, bytes, m_target.Encode(rgb[i]));
        done += chunk;
    }
}
