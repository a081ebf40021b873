// Converts rows of a device-independent picture into device pixels, with
// direct loops for the common pairs (16-bit 5-6-5 or 5-5-5 to 32-bit true
// colour and back, 32-bit to 24-bit, 32-bit with red and blue swapped, equal
// layouts), channel tables from 32-bit 0x00RRGGBB into any other true colour
// (10 bits a channel, say) and lookup tables for the rest.
#pragma once

#include "platform/present/DibSource.h"
#include "platform/present/PixelEncoder.h"

#include <vector>

class PixelConverter {
public:
    // The converter from pictures laid out like `source` into `target`;
    // `target` must outlive it.
    PixelConverter(const DibSource& source, const PixelEncoder& target);

    // True when `source` has the layout and colours this converter was made for.
    bool Serves(const DibSource& source) const;
    // Converts `count` pixels of row y of `source`, from column x, into `out`.
    void ConvertRow(const DibSource& source, int y, int x, int count, BYTE* out) const;

private:
    enum class Path { Indexed, Copy, Rgb565To32, Rgb555To32, Rgb565To555, Rgb555To565, Lookup16, Bgr24To32,
                      Rgb32To565, Rgb32To24, Swap32, Rgb32ToEncoded, Generic };

    void ConvertIndexed(const DibSource& source, const BYTE* row, int x, int count, BYTE* out) const;
    void ConvertGeneric(const DibSource& source, int y, int x, int count, BYTE* out) const;

    const PixelEncoder& m_target;
    Path m_path = Path::Generic;
    int m_bitCount;
    DWORD m_masks[3];
    std::vector<std::uint32_t> m_sourcePalette;
    std::vector<std::uint32_t> m_lookup;
    // What the target sets in every pixel beside its channels.
    std::uint32_t m_opaque = 0;
};

// The loops behind the direct paths, open for measurement.
void Convert565To32(const BYTE* in, int count, BYTE* out);
void Convert555To32(const BYTE* in, int count, BYTE* out);
