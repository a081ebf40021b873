// The colour table shared by every sprite strip and the icon: the sixteen
// basic colours at both ends (black at 0, magenta at 253, white at 255), a
// 6x6x6 colour cube, and ramps of shades for the materials the units wear.
#pragma once

#include <array>
#include <cstdint>

struct PaletteColour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

using PaletteTable = std::array<PaletteColour, 256>;

const PaletteTable& StripPalette();

constexpr std::uint8_t kKeyIndex = 253;
constexpr std::uint8_t kBlackIndex = 0;
constexpr std::uint8_t kWhiteIndex = 255;

// Index of the cube colour with the given levels (0 to 5 each); the cube's
// corners are the basic colours.
std::uint8_t CubeIndex(int red, int green, int blue);

// Shades of one material, darkest first. Drawing picks one by lighting.
struct Ramp {
    std::uint8_t shadow;
    std::uint8_t base;
    std::uint8_t light;
    std::uint8_t highlight;
};

// The same material on the far side of a figure, one shade darker.
inline Ramp Dim(const Ramp& ramp) { return {ramp.shadow, ramp.shadow, ramp.base, ramp.light}; }

namespace Ramps {
extern const std::uint8_t outline;
extern const Ramp skin;
extern const Ramp steel;
extern const Ramp bronze;
extern const Ramp wood;
extern const Ramp leather;
extern const Ramp bayCoat;
extern const Ramp greyCoat;
extern const Ramp darkCoat;
extern const Ramp hair;
extern const Ramp redCloth;
extern const Ramp blueCloth;
extern const Ramp greenCloth;
extern const Ramp purpleCloth;
extern const Ramp robe;
extern const Ramp plumage;
extern const Ramp beak;
extern const Ramp straw;
}
