#include "tools/assets/Icon.h"

#include "tools/assets/BitmapFile.h"
#include "tools/assets/Gait.h"

#include <algorithm>

IndexedImage DrawIcon(int size)
{
    // The small icon leaves out the badge and shows the figure larger.
    const bool badge = size >= 32;
    const double u = badge ? size / 32.0 : size / 29.0;
    const Vec shift = badge ? Vec{0, 0} : Vec{-3.5, -1.0};
    const auto at = [u, shift](double x, double y) { return Vec{(x + shift.x) * u, (y + shift.y) * u}; };
    const auto r = [u](double radius) { return std::max(0.6, radius * u); };
    SpriteCanvas canvas(size, size);

    if (badge) {
        canvas.Ellipse(at(16, 16), 15.0 * u, 15.0 * u, Ramps::bronze, Finish::Shiny);
        canvas.Ellipse(at(16, 16), 13.2 * u, 13.2 * u, Ramps::blueCloth);
    }

    // Spear behind, slanting forward.
    canvas.Limb(at(8, 24), at(26, 5), r(0.7), r(0.7), Ramps::wood);
    canvas.Limb(at(24.5, 6.6), at(27.5, 3.5), r(1.3), r(0.4), Ramps::steel, Finish::Shiny);
    // Striding legs.
    canvas.Limb(at(14, 19), at(10.5, 23.5), r(1.7), r(1.4), Dim(Ramps::skin));
    canvas.Limb(at(10.5, 23.5), at(8.5, 27.5), r(1.4), r(1.2), Dim(Ramps::skin));
    canvas.Limb(at(15, 19), at(18.0, 23.5), r(1.7), r(1.4), Ramps::skin);
    canvas.Limb(at(18.0, 23.5), at(19.0, 27.5), r(1.4), r(1.2), Ramps::skin);
    // Red tunic under steel armour, head in a crested helmet.
    canvas.Polygon({at(10.5, 17), at(17.5, 17), at(18.5, 21.5), at(10, 21.5)}, Ramps::redCloth);
    canvas.Polygon({at(11, 10.5), at(17, 10.5), at(17.5, 19), at(10.5, 19)}, Ramps::steel);
    canvas.Ellipse(at(15.2, 7.2), 3.4 * u, 3.6 * u, Ramps::skin);
    canvas.Ellipse(at(14.2, 5.8), 3.6 * u, 2.8 * u, Ramps::steel, Finish::Shiny);
    canvas.Polygon({at(10.5, 4.5), at(12.0, 1.5), at(17.0, 1.5), at(16.5, 3.5)}, Ramps::redCloth);
    // Shield on the near arm.
    canvas.Polygon({at(17, 11), at(22.5, 12), at(22.5, 22), at(17, 23)}, Ramps::redCloth);
    if (badge)
        canvas.Limb(at(19.7, 12.5), at(19.7, 21.5), r(0.5), r(0.5), Ramps::bronze);
    canvas.Ellipse(at(19.7, 17), 1.6 * u, 1.6 * u, Ramps::bronze, Finish::Shiny);
    return canvas.Finished();
}

std::vector<std::uint8_t> EncodeIconFile(const std::vector<IndexedImage>& pictures, const PaletteTable& palette)
{
    std::vector<std::vector<std::uint8_t>> images;
    for (const auto& picture : pictures) {
        ByteWriter image;
        const auto width = static_cast<std::uint32_t>(picture.width);
        const auto height = static_cast<std::uint32_t>(picture.height);
        WriteBitmapInfo(image, width, height * 2, 0, palette); // colour rows, then the mask rows
        const std::uint32_t colourStride = (width + 3) & ~3u;
        for (int y = picture.height - 1; y >= 0; --y)
            for (std::uint32_t x = 0; x < colourStride; ++x) {
                const bool inside = x < width;
                const std::uint8_t index = inside ? picture.At(static_cast<int>(x), y) : 0;
                image.Byte(index == kKeyIndex ? kBlackIndex : index);
            }
        const std::uint32_t maskStride = ((width + 31) / 32) * 4;
        for (int y = picture.height - 1; y >= 0; --y)
            for (std::uint32_t byte = 0; byte < maskStride; ++byte) {
                std::uint32_t bits = 0;
                for (std::uint32_t bit = 0; bit < 8; ++bit) {
                    const std::uint32_t x = byte * 8 + bit;
                    const bool transparent = x >= width || picture.At(static_cast<int>(x), y) == kKeyIndex;
                    bits |= (transparent ? 1u : 0u) << (7 - bit);
                }
                image.Byte(bits);
            }
        images.push_back(image.Take());
    }

    ByteWriter file;
    file.Le16(0);
    file.Le16(1);
    file.Le16(static_cast<std::uint32_t>(pictures.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        file.Byte(static_cast<std::uint32_t>(pictures[i].width));
        file.Byte(static_cast<std::uint32_t>(pictures[i].height));
        file.Byte(0); // 256 colours
        file.Byte(0);
        file.Le16(1);
        file.Le16(8);
        file.Le32(static_cast<std::uint32_t>(images[i].size()));
        file.Le32(offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images)
        file.Bytes(image);
    return file.Take();
}
