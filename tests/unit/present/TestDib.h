// Device-independent pictures built for the graphics tests: a header with
// its colour table or masks, and rows laid out as the header says.
#pragma once

#include "platform/WinApi.h"
#include "platform/present/DibSource.h"

#include <cstdint>
#include <cstring>
#include <vector>

struct TestDib {
    std::vector<BYTE> info;
    std::vector<BYTE> bits;

    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
    BITMAPINFO* Info() { return reinterpret_cast<BITMAPINFO*>(info.data()); }
    std::size_t Stride() const { return DibStride(Info()->bmiHeader.biWidth, Info()->bmiHeader.biBitCount); }
    // The bytes of pixel (x, y), y counted from the top of a bottom-up picture.
    BYTE* At(int x, int y)
    {
        const int height = Info()->bmiHeader.biHeight;
        const int stored = height > 0 ? height - 1 - y : y;
        return bits.data() + Stride() * stored + x * Info()->bmiHeader.biBitCount / 8;
    }

    // A bottom-up picture of `bitCount` bits; 16 bits with `masks` set are
    // 5-6-5 with BI_BITFIELDS, else 5-5-5.
    static TestDib Make(int width, int height, int bitCount, bool masks = false)
    {
        TestDib dib;
        dib.info.assign(40 + (bitCount == 8 ? 1024 : masks ? 12 : 0), 0);
        BITMAPINFOHEADER& header = dib.Info()->bmiHeader;
        header.biSize = 40;
        header.biWidth = width;
        header.biHeight = height;
        header.biPlanes = 1;
        header.biBitCount = static_cast<WORD>(bitCount);
        if (masks) {
            header.biCompression = BI_BITFIELDS;
            const DWORD rgb565[3] = {0xF800, 0x07E0, 0x001F};
            std::memcpy(dib.info.data() + 40, rgb565, sizeof rgb565);
        }
        dib.bits.assign(DibStride(width, bitCount) * height, 0);
        return dib;
    }

    void SetColor(int index, std::uint32_t rgb)
    {
        RGBQUAD* table = reinterpret_cast<RGBQUAD*>(info.data() + 40);
        table[index] = RGBQUAD{static_cast<BYTE>(rgb), static_cast<BYTE>(rgb >> 8), static_cast<BYTE>(rgb >> 16), 0};
    }
    void Set16(int x, int y, std::uint16_t pixel) { std::memcpy(At(x, y), &pixel, 2); }
    void Set24(int x, int y, std::uint32_t rgb)
    {
        BYTE* p = At(x, y);
        p[0] = static_cast<BYTE>(rgb);
        p[1] = static_cast<BYTE>(rgb >> 8);
        p[2] = static_cast<BYTE>(rgb >> 16);
    }
    // Fills every pixel of a 16-bit picture with `pixel`.
    void Fill16(std::uint16_t pixel)
    {
        for (int y = 0; y < Info()->bmiHeader.biHeight; ++y)
            for (int x = 0; x < Info()->bmiHeader.biWidth; ++x)
                Set16(x, y, pixel);
    }
};

inline std::uint16_t To565(std::uint32_t rgb)
{
    return static_cast<std::uint16_t>((rgb >> 19 & 0x1F) << 11 | (rgb >> 10 & 0x3F) << 5 | (rgb >> 3 & 0x1F));
}
