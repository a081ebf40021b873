// Stand-ins for the platform seams the imaging code uses, and builders of
// packed bitmaps with chosen pixels, for the imaging tests.
#pragma once

#include "imaging/DibSurface.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

struct FakeResources : Resources {
    bool Find(ResourceType type, UINT id) const override
    {
        return type == ResourceType::Bitmap && m_bitmaps.count(id) != 0;
    }
    ResourceBlock Load(ResourceType, UINT id) const override
    {
        const auto& bytes = m_bitmaps.at(id);
        return m_bLoadFails ? ResourceBlock{} : ResourceBlock{bytes.data(), bytes.size()};
    }
    std::string LoadString(UINT) const override { return {}; }

    std::map<UINT, std::vector<BYTE>> m_bitmaps;
    bool m_bLoadFails = false;
};

// Answers GetDIBits with stored rows and table; each answer can be falsified.
struct FakeDeviceBitmap : DeviceBitmap {
    bool GetObject(BITMAP& description) const override
    {
        description = m_description;
        return m_bDescribes;
    }
    int GetDIBits(PaletteHandle palette, UINT lines, void* bits, BITMAPINFO* info) const override
    {
        m_palettes.push_back(palette);
        BITMAPINFOHEADER& header = info->bmiHeader;
        DibLayout layout;
        DibComputeLayout(header.biWidth, header.biHeight, header.biBitCount, layout);
        header.biSizeImage = m_sizeImage != 0 ? m_sizeImage : static_cast<DWORD>(layout.imageBytes);
        header.biBitCount = m_answerBitCount != 0 ? m_answerBitCount : header.biBitCount;
        header.biClrUsed = m_answerClrUsed;
        if (header.biBitCount == 8)
            std::memcpy(info->bmiColors, m_table.data(), m_table.size() * sizeof(RGBQUAD));
        if (bits != nullptr && !m_rows.empty())
            std::memcpy(bits, m_rows.data(), std::min(m_rows.size(), layout.imageBytes));
        return m_copyResult >= 0 ? m_copyResult : static_cast<int>(lines);
    }

    BITMAP m_description{0, 3, 2, 0, 1, 24, nullptr};
    bool m_bDescribes = true;
    std::vector<BYTE> m_rows;
    std::vector<RGBQUAD> m_table;
    DWORD m_sizeImage = 0;
    int m_copyResult = -1;
    WORD m_answerBitCount = 0;
    DWORD m_answerClrUsed = 0;
    mutable std::vector<PaletteHandle> m_palettes;
};

struct MockDeviceContext : DeviceContext {
    MOCK_METHOD(int, StretchDIBits, (int, int, int, int, int, int, int, int, const void*, const BITMAPINFO*),
                (override));
    MOCK_METHOD(PaletteHandle, SelectPalette, (PaletteHandle, bool), (override));
    MOCK_METHOD(UINT, RealizePalette, (), (override));
};

struct MockGraphics : Graphics {
    MOCK_METHOD(SIZE, ScreenSize, (), (override));
    MOCK_METHOD(int, ScreenDepth, (), (override));
    MOCK_METHOD(int, StatedDpi, (), (override));
    MOCK_METHOD(std::unique_ptr<DeviceBitmap>, CopyScreen, (), (override));
    MOCK_METHOD(PaletteHandle, CreatePalette, (const LOGPALETTE&), (override));
    MOCK_METHOD(PaletteHandle, CreateHalftonePalette, (), (override));
    MOCK_METHOD(void, DeletePalette, (PaletteHandle), (override));
};

// The strips' kind of table: 0 black, 255 white, 253 magenta, 128 grey.
inline std::vector<RGBQUAD> StripTable()
{
    std::vector<RGBQUAD> table(256);
    for (std::size_t i = 1; i < 255; ++i)
        table[i] = RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i / 3), 0};
    table[128] = RGBQUAD{0x80, 0x80, 0x80, 0};
    table[253] = RGBQUAD{255, 0, 255, 0};
    table[255] = RGBQUAD{255, 255, 255, 0};
    return table;
}

// A packed bitmap. `pixels` are the rows' pixel bytes, top row first,
// without padding; the padding bytes are `pad`.
struct PackedDib {
    LONG width = 1;
    LONG height = 1;
    WORD bitCount = 24;
    std::vector<BYTE> pixels = {};
    std::vector<RGBQUAD> table = bitCount == 8 ? StripTable() : std::vector<RGBQUAD>{};
    bool bitfields = false;
    DWORD sizeImage = 0;
    BYTE pad = 0;

    std::vector<BYTE> Bytes() const
    {
        const BITMAPINFOHEADER header{40, width, height, 1, bitCount, bitfields ? DWORD{BI_BITFIELDS} : DWORD{BI_RGB},
                                      sizeImage, 0, 0, table.size() == 256 ? 0 : static_cast<DWORD>(table.size()), 0};
        std::vector<BYTE> bytes(40 + (bitfields ? 12 : 0) + 4 * table.size());
        std::memcpy(bytes.data(), &header, 40);
        if (bytes.size() > 40)
            std::memcpy(bytes.data() + 40, bitfields ? static_cast<const void*>(DIB_MASKS_565) : table.data(),
                        bytes.size() - 40);
        DibLayout layout;
        DibComputeLayout(width, height, bitCount, layout);
        for (std::size_t row = layout.height; row-- > 0;) {
            for (std::size_t i = row * layout.rowBytes; i < (row + 1) * layout.rowBytes; ++i)
                bytes.push_back(i < pixels.size() ? pixels[i] : 0);
            bytes.insert(bytes.end(), layout.stride - layout.rowBytes, pad);
        }
        return bytes;
    }
};

inline std::vector<BYTE> Words(const std::vector<WORD>& words)
{
    std::vector<BYTE> bytes(2 * words.size());
    std::memcpy(bytes.data(), words.data(), bytes.size());
    return bytes;
}

inline void Load(DibSurface& surface, const PackedDib& dib)
{
    FakeResources resources;
    resources.m_bitmaps[130] = dib.Bytes();
    ASSERT_EQ(surface.LoadFromResource(resources, 130), 0);
}

// The bytes of a row counted from the top, padding included.
inline std::vector<BYTE> RowOf(const DibSurface& surface, int fromTop)
{
    const BYTE* row = surface.Bits() + static_cast<std::size_t>(surface.Height() - 1 - fromTop) * surface.Stride();
    return std::vector<BYTE>(row, row + surface.Stride());
}

inline std::vector<COLORREF> ColorsOf(const DibSurface& surface)
{
    std::vector<COLORREF> colors;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            EXPECT_EQ(surface.GetPixelColor(x, y, colors.emplace_back()), 0);
        }
    }
    return colors;
}

// Info block and rows, to compare a surface before and after a failure.
inline std::vector<BYTE> Snapshot(const DibSurface& surface)
{
    if (surface.IsEmpty())
        return {};
    const auto* info = reinterpret_cast<const BYTE*>(surface.Info());
    std::vector<BYTE> bytes(info, info + DibInfoSize(surface.Info()->bmiHeader));
    bytes.insert(bytes.end(), surface.Bits(), surface.Bits() + surface.Stride() * static_cast<std::size_t>(surface.Height()));
    return bytes;
}

inline bool PaddingIsZero(const DibSurface& surface)
{
    DibLayout layout;
    DibComputeLayout(surface.Width(), surface.Height(), surface.BitCount(), layout);
    for (int y = 0; y < surface.Height(); ++y) {
        const std::vector<BYTE> row = RowOf(surface, y);
        if (std::any_of(row.begin() + static_cast<std::ptrdiff_t>(layout.rowBytes), row.end(), [](BYTE b) { return b; }))
            return false;
    }
    return true;
}
