#include "imaging/DibPalette.h"

#include "imaging/DibBlock.h"
#include "imaging/DibSurface.h"

#include <cstddef>
#include <cstring>

DibPalette::~DibPalette()
{
    Release();
}

void DibPalette::Release()
{
    if (m_hPalette != 0)
        m_pGraphics->DeletePalette(m_hPalette);
    m_hPalette = 0;
    m_pGraphics = nullptr;
}

bool DibPalette::CreateFromSurface(Graphics& graphics, const DibSurface& surface)
{
    if (surface.IsEmpty())
        return false;
    const DWORD count = DibColorCount(&surface.Info()->bmiHeader);
    PaletteHandle palette = 0;
    if (count == 0) {
        palette = graphics.CreateHalftonePalette();
    } else {
        // palVersion, palNumEntries, then red, green, blue, flags per entry.
        const std::size_t entriesAt = offsetof(LOGPALETTE, palPalEntry);
        auto block = AllocateDibBlock(sizeof(LOGPALETTE) + 4 * static_cast<std::size_t>(count), true);
        if (!block)
            return false;
        const WORD version = 0x300;
        const auto entries = static_cast<WORD>(count);
        std::memcpy(block.get(), &version, sizeof version);
        std::memcpy(block.get() + sizeof version, &entries, sizeof entries);
        const RGBQUAD* table = surface.ColorTable();
        for (DWORD i = 0; i < count; ++i) {
            BYTE* entry = block.get() + entriesAt + 4 * i;
            entry[0] = table[i].rgbRed;
            entry[1] = table[i].rgbGreen;
            entry[2] = table[i].rgbBlue;
        }
        palette = graphics.CreatePalette(*reinterpret_cast<const LOGPALETTE*>(block.get()));
    }
    if (palette == 0)
        return false;
    Release();
    m_pGraphics = &graphics;
    m_hPalette = palette;
    return true;
}
