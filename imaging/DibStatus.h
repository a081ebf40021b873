// Status codes of the imaging operations and the flags that choose a
// 16- or 32-bit pixel layout. Every status-returning operation answers 0 on
// success; the high byte of a code groups its cause.
#pragma once

constexpr int DIBERR_NOMEMORY = 0x100;
constexpr int DIBERR_NORESOURCE = 0x200;
constexpr int DIBERR_LOADRESOURCE = 0x201;
constexpr int DIBERR_LOCKRESOURCE = 0x202;
constexpr int DIBERR_BITMAPDEPTH = 0x300;
constexpr int DIBERR_NOT8BIT = 0x402;
constexpr int DIBERR_NOT16BIT = 0x403;
constexpr int DIBERR_NOT24BIT = 0x404;
constexpr int DIBERR_DEPTH = 0x405;
constexpr int DIBERR_EMPTY = 0x500;
constexpr int DIBERR_LAYOUT = 0x501;
constexpr int DIBERR_POSITION = 0x700;
constexpr int DIBERR_OUTSIDE = 0x800;
constexpr int DIBERR_GETBITS = 0x900;
constexpr int DIBERR_NOCOLORTABLE = 0xA00;
constexpr int DIBERR_TABLESIZE = 0xA01;

// 5-6-5 with BI_BITFIELDS and the three masks after the header.
constexpr int DIBFMT_RGB565 = 0x10000001;
// 5-5-5 with BI_RGB, no masks.
constexpr int DIBFMT_RGB555 = 0x10000000;
// 32 bits with BI_RGB: blue, green, red and a fourth byte, the order of
// most true-colour displays.
constexpr int DIBFMT_XRGB32 = 0x10000020;
// 32 bits with BI_BITFIELDS and red in the lowest byte: red, green, blue and
// a fourth byte, the order of a page's canvas.
constexpr int DIBFMT_XBGR32 = 0x10000021;
