// Any packed bitmap as a resource, and any device bitmap description and
// answer: loading refuses what it cannot hold, and every conversion,
// effect, read-back, blit and drawing of what loaded stays inside its
// blocks and keeps the surface consistent.
//
// Input: 16 control bytes, then the resource's bytes (also the device's rows).
#include "imaging/DibPalette.h"
#include "imaging/DibSurface.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

class Controls {
public:
    Controls(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(std::min<std::size_t>(size, 16)) {}
    BYTE Byte() { return m_next < m_size ? m_data[m_next++] : 0; }
    // A coordinate from -64 to 63, or an extreme one now and then.
    LONG Coordinate()
    {
        const BYTE value = Byte();
        if (value == 0xFF)
            return INT32_MIN;
        if (value == 0xFE)
            return INT32_MAX;
        return static_cast<LONG>(value % 128) - 64;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_next = 0;
};

class BlockResources : public Resources {
public:
    BlockResources(const BYTE* data, std::size_t size) : m_block{data, size} {}
    bool Find(ResourceType, UINT id) const override { return id == 130; }
    ResourceBlock Load(ResourceType, UINT) const override { return m_block; }
    std::string LoadString(UINT) const override { return {}; }

private:
    ResourceBlock m_block;
};

// A small device bitmap whose answers to the header query come from the controls.
class ControlledBitmap : public DeviceBitmap {
public:
    ControlledBitmap(Controls& controls, const BYTE* rows, std::size_t size) : m_rows(rows), m_size(size)
    {
        m_description = BITMAP{0, controls.Byte() - 16, controls.Byte() - 16, 0, controls.Byte(), controls.Byte(),
                               nullptr};
        m_description.bmPlanes = static_cast<WORD>(m_description.bmPlanes % 3);
        m_description.bmBitsPixel = static_cast<WORD>(m_description.bmBitsPixel % 26);
        m_sizeImage = controls.Byte();
        m_clrUsed = controls.Byte() % 4 == 0 ? controls.Byte() : 0;
        m_answer = controls.Byte() % 4;
    }
    bool GetObject(BITMAP& description) const override
    {
        description = m_description;
        return true;
    }
    int GetDIBits(PaletteHandle, UINT lines, void* bits, BITMAPINFO* info) const override
    {
        BITMAPINFOHEADER& header = info->bmiHeader;
        header.biSizeImage = m_sizeImage;
        header.biClrUsed = m_clrUsed;
        DibLayout layout;
        if (bits != nullptr && DibComputeLayout(header.biWidth, header.biHeight, header.biBitCount, layout))
            std::memcpy(bits, m_rows, std::min(m_size, layout.imageBytes));
        // All rows, none, half of them, or nonsense.
        const int answers[4] = {static_cast<int>(lines), 0, static_cast<int>(lines / 2), -1};
        return bits != nullptr ? answers[m_answer] : 0;
    }

private:
    BITMAP m_description{};
    DWORD m_sizeImage = 0;
    DWORD m_clrUsed = 0;
    int m_answer = 0;
    const BYTE* m_rows;
    std::size_t m_size;
};

// Reads every byte a device would read when shown the surface.
class ReadingContext : public DeviceContext {
public:
    int StretchDIBits(int, int, int, int, int, int, int, int cySrc, const void* bits, const BITMAPINFO* info) override
    {
        DibLayout layout;
        Require(DibComputeLayout(info->bmiHeader.biWidth, info->bmiHeader.biHeight, info->bmiHeader.biBitCount, layout));
        unsigned sum = 0;
        const auto* bytes = static_cast<const BYTE*>(bits);
        for (std::size_t i = 0; i < layout.imageBytes; ++i)
            sum += bytes[i];
        const auto* infoBytes = reinterpret_cast<const BYTE*>(info);
        for (std::size_t i = 0; i < DibInfoSize(info->bmiHeader); ++i)
            sum += infoBytes[i];
        return sum == 1 ? 0 : cySrc;
    }
    PaletteHandle SelectPalette(PaletteHandle, bool) override { return 0; }
    UINT RealizePalette() override { return 0; }
};

class CountingGraphics : public Graphics {
public:
    SIZE ScreenSize() override { return SIZE{1, 1}; }
    int ScreenDepth() override { return 24; }
    int StatedDpi() override { return 0; }
    std::unique_ptr<DeviceBitmap> CopyScreen() override { return nullptr; }
    PaletteHandle CreatePalette(const LOGPALETTE& palette) override
    {
        Require(palette.palNumEntries >= 1 && palette.palNumEntries <= 256);
        return 1;
    }
    PaletteHandle CreateHalftonePalette() override { return 2; }
    void DeletePalette(PaletteHandle) override {}
};

// The surface holds a usable header and rows of its size, or nothing.
void RequireConsistent(const DibSurface& surface)
{
    if (surface.IsEmpty())
        return;
    Require(DibIsUsableInfo(reinterpret_cast<const BYTE*>(surface.Info()), DibInfoSize(surface.Info()->bmiHeader)));
    ReadingContext dc;
    surface.Draw(&dc);
}

void Exercise(DibSurface& surface, Controls& controls)
{
    RequireConsistent(surface);
    COLORREF color = 0;
    surface.GetPixelColor(controls.Coordinate(), controls.Coordinate(), color);
    CountingGraphics graphics;
    DibPalette palette;
    palette.CreateFromSurface(graphics, surface);

    DibSurface canvas;
    canvas.CopyFrom(surface);
    const BYTE choice = controls.Byte();
    if (choice & 1)
        canvas.ConvertTo16Bit(choice & 2 ? DIBFMT_RGB565 : DIBFMT_RGB555);
    if (choice & 4)
        canvas.ConvertTo24Bit();
    if (choice & 128)
        canvas.ConvertTo32Bit(choice & 2 ? DIBFMT_XBGR32 : DIBFMT_XRGB32);
    canvas.CopyColorTable(surface);
    canvas.ApplyShade(color, choice & 8);
    canvas.InterlaceRows(canvas, choice & 16, color);
    canvas.InterlaceColumns(surface, choice & 32, color);
    canvas.AdjustGamma(static_cast<int>(controls.Byte()) * 3 - 384);
    RequireConsistent(canvas);

    for (const DibSurface* source : {&surface, &canvas}) {
        POINT point{controls.Coordinate(), controls.Coordinate()};
        RECT rect{controls.Coordinate(), controls.Coordinate(), controls.Coordinate(), controls.Coordinate()};
        const POINT pointBefore = point;
        if (canvas.BlitFrom(*source, color, point, rect, choice & 64) == 0) {
            Require(point.x >= 0 && point.y >= 0);
            Require(rect.left >= 0 && rect.top >= 0 && rect.right <= source->Width() && rect.bottom <= source->Height());
        } else {
            Require(point.x == pointBefore.x && point.y == pointBefore.y);
        }
        const int factor = controls.Byte() % 4;
        point = POINT{controls.Coordinate(), controls.Coordinate()};
        rect = RECT{controls.Coordinate(), controls.Coordinate(), controls.Coordinate(), controls.Coordinate()};
        if (canvas.BlitEnlargedFrom(*source, color, point, rect, factor) == 0) {
            Require(point.x >= 0 && point.y >= 0);
            Require(rect.left >= 0 && rect.top >= 0 &&
                    rect.right <= static_cast<std::int64_t>(source->Width()) * factor &&
                    rect.bottom <= static_cast<std::int64_t>(source->Height()) * factor);
        }
    }
    RequireConsistent(canvas);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Controls controls(data, size);
    const std::size_t skip = std::min<std::size_t>(size, 16);
    const BYTE* block = data + skip;
    const std::size_t blockSize = size - skip;

    DibSurface loaded;
    const BlockResources resources(block, blockSize);
    if (loaded.LoadFromResource(resources, 130) == 0)
        Exercise(loaded, controls);
    else
        Require(loaded.IsEmpty());

    DibSurface captured;
    const ControlledBitmap bitmap(controls, block, blockSize);
    const int formats[4] = {DIBFMT_RGB565, DIBFMT_RGB555, DIBFMT_XRGB32, DIBFMT_XBGR32};
    if (captured.CreateFromBitmap(&bitmap, 0, formats[controls.Byte() % 4]) == 0)
        Exercise(captured, controls);
    else
        Require(captured.IsEmpty());
    return 0;
}
