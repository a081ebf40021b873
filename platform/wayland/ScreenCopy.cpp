#include "platform/wayland/ScreenCopy.h"

#include "platform/present/DibSource.h"
#include "platform/wayland/ShmBuffer.h"
#include "platform/wayland/WaylandConnection.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <chrono>
#include <cstring>
#include <memory>

namespace {
constexpr DWORD MASKS_888[3] = {0xFF0000, 0x00FF00, 0x0000FF};

bool IsRedFirst(std::uint32_t format) { return format == WL_SHM_FORMAT_ABGR8888 || format == WL_SHM_FORMAT_XBGR8888; }

bool CanRead(std::uint32_t format)
{
    return format == WL_SHM_FORMAT_ARGB8888 || format == WL_SHM_FORMAT_XRGB8888 || IsRedFirst(format);
}

// One output's copy as the compositor delivers it.
class OutputCopy {
public:
    OutputCopy(WaylandConnection& connection, WaylandOutput& output, const OutputPart& part)
        : m_connection(connection), m_part(part)
    {
        static const zwlr_screencopy_frame_v1_listener listener = {OnBuffer, OnFlags,       OnReady,     OnFailed,
                                                                   OnDamage, OnLinuxDmabuf, OnBufferDone};
        m_pFrame = zwlr_screencopy_manager_v1_capture_output(connection.ScreenCopy(), 0, output.Get());
        m_bListsBuffers = zwlr_screencopy_frame_v1_get_version(m_pFrame) >= 3;
        zwlr_screencopy_frame_v1_add_listener(m_pFrame, &listener, this);
    }
    ~OutputCopy() { zwlr_screencopy_frame_v1_destroy(m_pFrame); }
    OutputCopy(const OutputCopy&) = delete;
    OutputCopy& operator=(const OutputCopy&) = delete;

    bool IsOver() const { return m_bReady || m_bFailed; }
    // Places the copy on the canvas; nothing when it did not arrive.
    void PlaceOn(BYTE* canvas, SIZE size) const;

private:
    static OutputCopy& Of(void* data) { return *static_cast<OutputCopy*>(data); }
    static void OnBuffer(void* data, zwlr_screencopy_frame_v1*, uint32_t format, uint32_t width, uint32_t height,
                         uint32_t stride)
    {
        OutputCopy& copy = Of(data);
        if (!CanRead(format) || (copy.m_format && !IsRedFirst(*copy.m_format)))
            return;
        copy.m_format = format;
        copy.m_width = static_cast<int>(width);
        copy.m_height = static_cast<int>(height);
        copy.m_stride = static_cast<int>(stride);
        if (!copy.m_bListsBuffers)
            copy.Copy();
    }
    static void OnFlags(void* data, zwlr_screencopy_frame_v1*, uint32_t flags)
    {
        Of(data).m_bUpsideDown = (flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT) != 0;
    }
    static void OnReady(void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) { Of(data).m_bReady = true; }
    static void OnFailed(void* data, zwlr_screencopy_frame_v1*) { Of(data).m_bFailed = true; }
    static void OnDamage(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t, uint32_t) {}
    static void OnLinuxDmabuf(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {}
    static void OnBufferDone(void* data, zwlr_screencopy_frame_v1*) { Of(data).Copy(); }

    void Copy()
    {
        if (m_format)
            m_pBuffer = ShmBuffer::Create(m_connection.Shm(), m_width, m_height, m_stride, *m_format);
        if (m_pBuffer == nullptr) {
            m_bFailed = true;
            return;
        }
        zwlr_screencopy_frame_v1_copy(m_pFrame, m_pBuffer->Get());
    }

    WaylandConnection& m_connection;
    OutputPart m_part;
    zwlr_screencopy_frame_v1* m_pFrame = nullptr;
    bool m_bListsBuffers = false;
    std::optional<std::uint32_t> m_format;
    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
    std::unique_ptr<ShmBuffer> m_pBuffer;
    bool m_bUpsideDown = false;
    bool m_bReady = false;
    bool m_bFailed = false;
};

void OutputCopy::PlaceOn(BYTE* canvas, SIZE size) const
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
}

std::shared_ptr<std::vector<BYTE>> CanvasRows(SIZE size)
{
    return std::make_shared<std::vector<BYTE>>(DibStride(size.cx, 32) * static_cast<std::size_t>(size.cy));
}

DevicePixels CanvasPixels(SIZE size, std::shared_ptr<std::vector<BYTE>> rows)
{
    DevicePixels pixels;
    pixels.width = size.cx;
    pixels.height = size.cy;
    pixels.bitsPerPixel = 32;
    pixels.depth = 24;
    std::memcpy(pixels.masks, MASKS_888, sizeof pixels.masks);
    pixels.rows = *rows;
    pixels.keeper = std::move(rows);
    return pixels;
}

DevicePixels BlackCanvas(SIZE size) { return CanvasPixels(size, CanvasRows(size)); }

std::optional<DevicePixels> CopyOutputs(WaylandConnection& connection, const std::vector<WaylandOutput*>& outputs,
                                        const OutputLayout& layout, int timeoutMs, std::string& why)
{
    if (connection.ScreenCopy() == nullptr) {
        why = "the compositor offers no way to copy the screen";
        return std::nullopt;
    }
    std::vector<std::unique_ptr<OutputCopy>> copies;
    for (WaylandOutput* output : outputs)
        copies.push_back(std::make_unique<OutputCopy>(connection, *output, layout.PartOf(output->Place())));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    auto waiting = [&copies] {
        for (const auto& copy : copies)
            if (!copy->IsOver())
                return true;
        return false;
    };
    while (waiting()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !connection.WaitAndDispatch(static_cast<int>(left.count()), nullptr, 0))
            break;
    }
    auto rows = CanvasRows(layout.CanvasSize());
    for (const auto& copy : copies)
        copy->PlaceOn(rows->data(), layout.CanvasSize());
    return CanvasPixels(layout.CanvasSize(), std::move(rows));
}
