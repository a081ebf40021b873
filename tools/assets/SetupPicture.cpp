#include "tools/assets/SetupPicture.h"

#include "tools/assets/Palette.h"
#include "tools/assets/UnitArt.h"

#include <array>

namespace {

constexpr int kWidth = 164;
constexpr int kHeight = 314;

struct Place {
    int x;
    int y;
    int frame;
};

// Top-left corners in lane order, staggered left and right so that every
// unit shows whole on its own patch of ground.
constexpr std::array<Place, 7> kPlaces = {{
    {14, 10, 2},
    {90, 26, 5},
    {6, 72, 7},
    {122, 96, 3},
    {26, 140, 4},
    {8, 240, 9},
    {84, 238, 1},
}};

void PasteKeyed(IndexedImage& picture, const IndexedImage& sprite, int left, int top)
{
    for (int y = 0; y < sprite.height; ++y)
        for (int x = 0; x < sprite.width; ++x)
            if (sprite.At(x, y) != kKeyIndex && picture.Contains(left + x, top + y))
                picture.At(left + x, top + y) = sprite.At(x, y);
}

}

IndexedImage DrawSetupPicture()
{
    IndexedImage picture(kWidth, kHeight, Ramps::blueCloth.shadow);
    const auto& units = UnitArtTable();
    for (std::size_t k = 0; k < units.size(); ++k) {
        const auto& unit = units[k];
        const Place& place = kPlaces[k];
        const int ground = place.y + unit.frameHeight - 2;
        for (int x = place.x - 4; x < place.x + unit.frameWidth + 4; ++x)
            for (int y = ground; y < ground + 3; ++y)
                if (picture.Contains(x, y))
                    picture.At(x, y) = Ramps::blueCloth.base;
        PasteKeyed(picture, unit.drawFrame(place.frame), place.x, place.y);
    }
    return picture;
}
