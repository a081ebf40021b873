#include "platform/wayland/OutputGrab.h"

#include "platform/wayland/WaylandConnection.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>

namespace {
bool IsRedFirst(std::uint32_t format) { return format == WL_SHM_FORMAT_ABGR8888 || format == WL_SHM_FORMAT_XBGR8888; }

bool CanRead(std::uint32_t format)
{
    return format == WL_SHM_FORMAT_ARGB8888 || format == WL_SHM_FORMAT_XRGB8888 || IsRedFirst(format);
}
}

void OutputGrab::OfferFormat(std::uint32_t format)
{
    if (CanRead(format) && (!m_format || IsRedFirst(*m_format)))
        m_format = format;
}

ShmBuffer* OutputGrab::MakeBuffer()
{
    if (m_format)
        m_pBuffer = ShmBuffer::Create(m_connection.Shm(), m_width, m_height, m_stride, *m_format);
    if (m_pBuffer == nullptr)
        m_bFailed = true;
    return m_pBuffer.get();
}

void OutputGrab::PlaceOn(BYTE* canvas, SIZE size) const
{
    if (!m_bReady || m_pBuffer == nullptr)
        return;
    const PixelTarget from = m_pBuffer->Pixels();
    const RECT& part = m_part.canvas;
    const LONG partWidth = part.right - part.left;
    const LONG partHeight = part.bottom - part.top;
    if (partWidth <= 0 || partHeight <= 0)
        return;
    const bool redFirst = IsRedFirst(*m_format);
    const bool sameSize = partWidth == m_width && partHeight == m_height;
    for (LONG y = std::max<LONG>(part.top, 0); y < std::min<LONG>(part.bottom, size.cy); ++y) {
        int row = static_cast<int>(static_cast<std::int64_t>(y - part.top) * m_height / partHeight);
        if (m_bUpsideDown)
            row = m_height - 1 - row;
        const BYTE* in = from.At(0, row);
        BYTE* out = canvas + (static_cast<std::ptrdiff_t>(y) * size.cx) * 4;
        const LONG left = std::max<LONG>(part.left, 0);
        const LONG right = std::min<LONG>(part.right, size.cx);
        if (sameSize && !redFirst) {
            std::memcpy(out + left * 4, in + (left - part.left) * 4, static_cast<std::size_t>(right - left) * 4);
            continue;
        }
        for (LONG x = left; x < right; ++x) {
            const auto column = static_cast<int>(static_cast<std::int64_t>(x - part.left) * m_width / partWidth);
            const BYTE* pixel = in + column * 4;
            BYTE* target = out + x * 4;
            target[0] = redFirst ? pixel[2] : pixel[0];
            target[1] = pixel[1];
            target[2] = redFirst ? pixel[0] : pixel[2];
            target[3] = 0;
        }
    }
}
