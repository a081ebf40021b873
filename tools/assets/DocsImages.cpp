#include "tools/assets/DocsImages.h"

#include "tools/assets/Palette.h"
#include "tools/assets/UnitArt.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

RgbImage Blank(int width, int height)
{
    return {width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width * height * 3), 0)};
}

void Set(RgbImage& image, int x, int y, PaletteColour colour)
{
    if (x < 0 || y < 0 || x >= image.width || y >= image.height)
        return;
    const auto at = static_cast<std::size_t>((y * image.width + x) * 3);
    image.rgb[at] = colour.red;
    image.rgb[at + 1] = colour.green;
    image.rgb[at + 2] = colour.blue;
}

PaletteColour Checker(int x, int y, int cell)
{
    const bool dark = ((x / cell) + (y / cell)) % 2 != 0;
    return dark ? PaletteColour{150, 156, 166} : PaletteColour{196, 202, 210};
}

// Draws a sprite enlarged; key pixels are left alone.
void Blit(RgbImage& image, const IndexedImage& sprite, int left, int top, int scale)
{
    const auto& palette = StripPalette();
    for (int y = 0; y < sprite.height; ++y)
        for (int x = 0; x < sprite.width; ++x) {
            const std::uint8_t index = sprite.At(x, y);
            if (index == kKeyIndex)
                continue;
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx)
                    Set(image, left + x * scale + dx, top + y * scale + dy, palette[index]);
        }
}

}

RgbImage ContactSheet(int scale)
{
    const auto& units = UnitArtTable();
    const int gap = 2 * scale;
    int width = 0;
    int height = gap;
    for (const auto& unit : units) {
        width = std::max(width, gap + unit.frames * (unit.frameWidth * scale + gap));
        height += unit.frameHeight * scale + gap;
    }
    RgbImage sheet = Blank(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            Set(sheet, x, y, {60, 64, 72});
    int top = gap;
    for (const auto& unit : units) {
        const auto frames = DrawFrames(unit);
        for (int k = 0; k < unit.frames; ++k) {
            const int left = gap + k * (unit.frameWidth * scale + gap);
            for (int y = 0; y < unit.frameHeight * scale; ++y)
                for (int x = 0; x < unit.frameWidth * scale; ++x)
                    Set(sheet, left + x, top + y, Checker(x, y, 2 * scale));
            Blit(sheet, frames[static_cast<std::size_t>(k)], left, top, scale);
        }
        top += unit.frameHeight * scale + gap;
    }
    return sheet;
}

std::vector<RgbImage> ParadeFrames()
{
    constexpr int scale = 2;
    constexpr int laneWidth = 150;
    constexpr int laneGap = 6;
    constexpr int frames = 30;
    constexpr int dashPeriod = 30;
    // The units' steps per frame, in lane order; odd lanes walk left.
    constexpr int steps[] = {5, 2, 6, 2, 6, 2, 6};

    const auto& units = UnitArtTable();
    int height = laneGap;
    for (const auto& unit : units)
        height += unit.frameHeight + laneGap;

    std::vector<std::vector<IndexedImage>> strips;
    for (const auto& unit : units)
        strips.push_back(DrawFrames(unit));

    std::vector<RgbImage> result;
    for (int frame = 0; frame < frames; ++frame) {
        RgbImage image = Blank(laneWidth * scale, height * scale);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                Set(image, x, y, {206, 214, 196});
        int top = laneGap;
        for (std::size_t lane = 0; lane < units.size(); ++lane) {
            const auto& unit = units[lane];
            const int ground = top + unit.frameHeight - 1;
            const int direction = lane % 2 == 0 ? -1 : 1;
            // The ground slides backwards under the walking unit.
            for (int x = 0; x < laneWidth; ++x) {
                const int along = ((x + direction * steps[lane] * frame) % dashPeriod + dashPeriod) % dashPeriod;
                const PaletteColour colour = along < dashPeriod / 2 ? PaletteColour{120, 132, 104}
                                                                   : PaletteColour{160, 170, 140};
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx)
                        Set(image, x * scale + dx, (ground + 1) * scale + dy, colour);
            }
            const auto& cycle = strips[lane];
            const IndexedImage& sprite = cycle[static_cast<std::size_t>(frame) % cycle.size()];
            Blit(image, sprite, (laneWidth - unit.frameWidth) / 2 * scale, top * scale, scale);
            top += unit.frameHeight + laneGap;
        }
        result.push_back(std::move(image));
    }
    return result;
}

void WritePpm(const RgbImage& image, const std::filesystem::path& path)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "P6\n" << image.width << ' ' << image.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(image.rgb.data()), static_cast<std::streamsize>(image.rgb.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}
