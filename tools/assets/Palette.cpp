#include "tools/assets/Palette.h"

namespace {

constexpr std::array<PaletteColour, 16> basics = {{
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},     {128, 0, 128},
    {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},     {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
}};
// Where the basic colours sit: the first eight at 0 to 7, the rest at 248 to 255.
constexpr int BasicSlot(int basic) { return basic < 8 ? basic : 240 + basic; }

// The hand-mixed shades of the ramps, in the slots 8, 9, 218 to 245, 246, 247.
constexpr std::array<PaletteColour, 32> mixed = {{
    {30, 24, 28},                                     // outline
    {120, 74, 50},   {176, 118, 82},  {222, 168, 124}, // skin
    {74, 82, 96},    {128, 138, 154}, {186, 194, 206}, // steel
    {112, 72, 26},   {172, 120, 44},  {226, 180, 88},  // bronze
    {84, 54, 32},    {132, 90, 52},   {178, 130, 80},  // wood
    {78, 40, 22},    {128, 70, 38},   {172, 108, 62},  // bay coat
    {96, 94, 100},   {150, 148, 152}, {204, 202, 206}, // grey coat
    {48, 34, 28},    {88, 62, 44},                     // hair
    {104, 22, 26},   {160, 36, 38},   {210, 72, 60},   // red cloth
    {150, 138, 116}, {200, 190, 164}, {238, 230, 206}, // robe
    {24, 84, 92},    {44, 136, 136},  {110, 196, 176}, // plumage
    {160, 92, 24},   {220, 150, 44},                   // beak
}};
constexpr int MixedSlot(int mixedIndex) { return mixedIndex < 2 ? 8 + mixedIndex : 216 + mixedIndex; }

constexpr int cubeFirstSlot = 10;
constexpr int cubeLevel(int level) { return level * 51; }
constexpr bool IsCorner(int red, int green, int blue)
{
    return (red == 0 || red == 5) && (green == 0 || green == 5) && (blue == 0 || blue == 5);
}

PaletteTable BuildPalette()
{
    PaletteTable table{};
    for (int basic = 0; basic < 16; ++basic)
        table[BasicSlot(basic)] = basics[basic];
    for (int mixedIndex = 0; mixedIndex < 32; ++mixedIndex)
        table[MixedSlot(mixedIndex)] = mixed[mixedIndex];
    for (int red = 0; red < 6; ++red)
        for (int green = 0; green < 6; ++green)
            for (int blue = 0; blue < 6; ++blue)
                if (!IsCorner(red, green, blue))
                    table[CubeIndex(red, green, blue)] = {static_cast<std::uint8_t>(cubeLevel(red)),
                                                          static_cast<std::uint8_t>(cubeLevel(green)),
                                                          static_cast<std::uint8_t>(cubeLevel(blue))};
    return table;
}

std::uint8_t Mixed(int mixedIndex) { return static_cast<std::uint8_t>(MixedSlot(mixedIndex)); }

}

std::uint8_t CubeIndex(int red, int green, int blue)
{
    if (IsCorner(red, green, blue)) {
        constexpr int cornerBasics[] = {0, 9, 10, 11, 12, 13, 14, 15};
        const int corner = (red ? 1 : 0) + (green ? 2 : 0) + (blue ? 4 : 0);
        return static_cast<std::uint8_t>(BasicSlot(cornerBasics[corner]));
    }
    int position = 0;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) {
                if (r == red && g == green && b == blue)
                    return static_cast<std::uint8_t>(cubeFirstSlot + position);
                position += IsCorner(r, g, b) ? 0 : 1;
            }
    return kBlackIndex;
}

const PaletteTable& StripPalette()
{
    static const PaletteTable table = BuildPalette();
    return table;
}

namespace Ramps {
const std::uint8_t outline = Mixed(0);
const Ramp skin = {Mixed(1), Mixed(2), Mixed(3), CubeIndex(5, 4, 3)};
const Ramp steel = {Mixed(4), Mixed(5), Mixed(6), kWhiteIndex};
const Ramp bronze = {Mixed(7), Mixed(8), Mixed(9), CubeIndex(5, 5, 3)};
const Ramp wood = {Mixed(10), Mixed(11), Mixed(12), CubeIndex(4, 3, 2)};
const Ramp leather = {CubeIndex(2, 1, 0), CubeIndex(3, 2, 1), CubeIndex(4, 3, 2), CubeIndex(5, 4, 3)};
const Ramp bayCoat = {Mixed(13), Mixed(14), Mixed(15), CubeIndex(4, 3, 2)};
const Ramp greyCoat = {Mixed(16), Mixed(17), Mixed(18), CubeIndex(5, 5, 4)};
const Ramp darkCoat = {CubeIndex(1, 1, 1), CubeIndex(2, 1, 1), CubeIndex(3, 2, 2), CubeIndex(4, 3, 3)};
const Ramp hair = {Mixed(19), Mixed(20), CubeIndex(3, 2, 1), CubeIndex(4, 3, 2)};
const Ramp redCloth = {Mixed(21), Mixed(22), Mixed(23), CubeIndex(5, 3, 2)};
const Ramp blueCloth = {CubeIndex(0, 1, 2), CubeIndex(1, 2, 3), CubeIndex(2, 3, 4), CubeIndex(3, 4, 5)};
const Ramp greenCloth = {CubeIndex(1, 2, 0), CubeIndex(2, 3, 1), CubeIndex(3, 4, 2), CubeIndex(4, 5, 3)};
const Ramp purpleCloth = {CubeIndex(1, 0, 2), CubeIndex(2, 1, 3), CubeIndex(3, 2, 4), CubeIndex(4, 3, 5)};
const Ramp robe = {Mixed(24), Mixed(25), Mixed(26), CubeIndex(5, 5, 4)};
const Ramp plumage = {Mixed(27), Mixed(28), Mixed(29), CubeIndex(3, 5, 4)};
const Ramp beak = {Mixed(30), Mixed(31), CubeIndex(5, 4, 1), CubeIndex(5, 5, 2)};
const Ramp straw = {CubeIndex(3, 3, 1), CubeIndex(4, 4, 2), CubeIndex(5, 5, 3), CubeIndex(5, 5, 4)};
}
