#include "platform/present/PaletteStore.h"

PaletteHandle PaletteStore::Create(const LOGPALETTE& palette)
{
    if (palette.palNumEntries == 0)
        return 0;
    std::vector<std::uint32_t> colors(palette.palNumEntries);
    const PALETTEENTRY* entries = palette.palPalEntry;
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = static_cast<std::uint32_t>(entries[i].peRed) << 16 |
                    static_cast<std::uint32_t>(entries[i].peGreen) << 8 | entries[i].peBlue;
    return Add(std::move(colors));
}

PaletteHandle PaletteStore::CreateHalftone() { return Add(HalftoneColors()); }

PaletteHandle PaletteStore::Add(std::vector<std::uint32_t> colors)
{
    m_next += 4;
    m_palettes.emplace(m_next, std::move(colors));
    return m_next;
}

void PaletteStore::Delete(PaletteHandle palette) { m_palettes.erase(palette); }

const std::vector<std::uint32_t>* PaletteStore::Find(PaletteHandle palette) const
{
    const auto found = m_palettes.find(palette);
    return found == m_palettes.end() ? nullptr : &found->second;
}

std::vector<std::uint32_t> HalftoneColors()
{
    std::vector<std::uint32_t> colors;
    colors.reserve(256);
    for (std::uint32_t r = 0; r < 6; ++r)
        for (std::uint32_t g = 0; g < 6; ++g)
            for (std::uint32_t b = 0; b < 6; ++b)
                colors.push_back((r * 51) << 16 | (g * 51) << 8 | b * 51);
    for (std::uint32_t gap = 0; gap < 5; ++gap)
        for (std::uint32_t step = 1; step <= 8; ++step) {
            const std::uint32_t level = gap * 51 + step * 51 / 9;
            colors.push_back(level << 16 | level << 8 | level);
        }
    return colors;
}

PaletteHandle PaletteStore::Select(PaletteHandle& selected, PaletteHandle palette) const
{
    if (palette != 0 && Find(palette) == nullptr)
        return 0;
    const PaletteHandle previous = selected;
    selected = palette;
    return previous;
}
