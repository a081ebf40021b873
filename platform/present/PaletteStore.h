// The logical palettes of a platform without GDI: records owned by the
// store, handed out as handles that stay unique for the store's life.
#pragma once

#include "platform/Graphics.h"

#include <cstdint>
#include <map>
#include <vector>

class PaletteStore {
public:
    // A palette with the entries' colours; 0 for a palette without entries.
    PaletteHandle Create(const LOGPALETTE& palette);
    // A palette holding HalftoneColors().
    PaletteHandle CreateHalftone();
    void Delete(PaletteHandle palette);
    // The colours (0x00RRGGBB) of a live palette; null for 0 or an unknown handle.
    const std::vector<std::uint32_t>* Find(PaletteHandle palette) const;
    // SelectPalette of a device context that has `selected` selected:
    // selects `palette` and returns the one before; 0, selecting nothing,
    // for a palette the store does not hold.
    PaletteHandle Select(PaletteHandle& selected, PaletteHandle palette) const;

private:
    PaletteHandle Add(std::vector<std::uint32_t> colors);

    std::map<PaletteHandle, std::vector<std::uint32_t>> m_palettes;
    PaletteHandle m_next = 0x2000;
};

// 256 colours that spread over the whole colour space: a cube of six levels
// of red, green and blue (51 apart), followed by 40 greys, eight between each two levels.
std::vector<std::uint32_t> HalftoneColors();
