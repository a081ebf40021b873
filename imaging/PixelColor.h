// The component scaling between COLORREF values and 16-bit pixels: an
// 8-bit component loses its low bits on the way down and comes back with
// zero low bits, so a colour read from a 16-bit pixel reduces to that pixel.
#pragma once

#include "platform/WinApi.h"

constexpr WORD ReduceTo565(BYTE red, BYTE green, BYTE blue)
{
    return static_cast<WORD>(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
}

constexpr WORD ReduceTo555(BYTE red, BYTE green, BYTE blue)
{
    return static_cast<WORD>(((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3));
}

constexpr WORD ReduceColor(COLORREF color, bool layout565)
{
    return layout565 ? ReduceTo565(GetRValue(color), GetGValue(color), GetBValue(color))
                     : ReduceTo555(GetRValue(color), GetGValue(color), GetBValue(color));
}

constexpr COLORREF Expand565(WORD pixel)
{
    return RGB(static_cast<BYTE>((pixel >> 11) << 3), static_cast<BYTE>(((pixel >> 5) & 0x3F) << 2),
               static_cast<BYTE>((pixel & 0x1F) << 3));
}

constexpr COLORREF Expand555(WORD pixel)
{
    return RGB(static_cast<BYTE>(((pixel >> 10) & 0x1F) << 3), static_cast<BYTE>(((pixel >> 5) & 0x1F) << 3),
               static_cast<BYTE>((pixel & 0x1F) << 3));
}

constexpr COLORREF ExpandColor(WORD pixel, bool layout565)
{
    return layout565 ? Expand565(pixel) : Expand555(pixel);
}

// The 16-bit layout changes in place: green gains or loses its low bit.
constexpr WORD Widen555To565(WORD pixel)
{
    return static_cast<WORD>(((pixel << 1) & 0xFFC0) | (pixel & 0x001F));
}

constexpr WORD Narrow565To555(WORD pixel)
{
    return static_cast<WORD>(((pixel >> 1) & 0x7FE0) | (pixel & 0x001F));
}
