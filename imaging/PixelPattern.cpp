#include "imaging/PixelPattern.h"

namespace {

PixelPattern MakePattern(const PixelValue& pixel, bool everyPixel, int first)
{
    PixelPattern pattern;
    for (std::size_t offset = 0; offset < PixelPattern::PERIOD; ++offset) {
        const std::size_t index = offset / pixel.size;
        const bool taken = everyPixel || static_cast<int>(index % 2) == first;
        pattern.mask[offset] = taken ? 0xFF : 0x00;
        pattern.value[offset] = taken ? pixel.bytes[offset % pixel.size] : 0x00;
    }
    return pattern;
}

} // namespace

PixelPattern MakeAlternatePattern(const PixelValue& pixel, int first)
{
    return MakePattern(pixel, false, first);
}

PixelPattern MakeSolidPattern(const PixelValue& pixel)
{
    return MakePattern(pixel, true, 0);
}
