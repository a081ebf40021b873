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

inline void ZeroRowPadding(BYTE* row, const DibLayout& layout)
{
    std::memset(row + layout.rowBytes, 0, layout.stride - layout.rowBytes);
}
