// The two heap blocks of a surface: allocation that reports failure instead
// of throwing, and the zero padding at the end of each row.
#pragma once

#include "imaging/DibHeader.h"
#include "platform/WinApi.h"

#include <cstring>
#include <memory>
#include <new>

// A block of `size` bytes, null when memory is exhausted. Zero-filled on request.
inline std::unique_ptr<BYTE[]> AllocateDibBlock(std::size_t size, bool zeroed = false)
{
    BYTE* block = zeroed ? new (std::nothrow) BYTE[size]() : new (std::nothrow) BYTE[size];
    return std::unique_ptr<BYTE[]>(block);
}

// A zeroed info block for `header` without colour table: the header, then
// the masks of a BI_BITFIELDS one (5-6-5 at 16 bits, red first at 32). Null
// when memory is exhausted.
inline std::unique_ptr<BYTE[]> AllocateDibInfo(const BITMAPINFOHEADER& header)
{
    auto info = AllocateDibBlock(DibInfoSize(header), true);
    if (!info)
        return info;
    std::memcpy(info.get(), &header, sizeof header);
    if (header.biCompression == BI_BITFIELDS) {
        const DWORD* masks = header.biBitCount == 16 ? DIB_MASKS_565 : DIB_MASKS_XBGR;
        std::memcpy(info.get() + DIB_HEADER_SIZE, masks, DIB_MASKS_SIZE);
    }
    return info;
}

inline void ZeroRowPadding(BYTE* row, const DibLayout& layout)
{
    std::memset(row + layout.rowBytes, 0, layout.stride - layout.rowBytes);
}
