#include "platform/wayland/ScreenCopy.h"

#include "platform/present/DibSource.h"
#include "platform/wayland/ImageCopyGrab.h"
#include "platform/wayland/WaylandConnection.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <chrono>
#include <cstring>
#include <memory>

namespace {
constexpr DWORD MASKS_888[3] = {0xFF0000, 0x00FF00, 0x0000FF};

// An output's picture through wlroots' screencopy.
class ScreencopyGrab : public OutputGrab {
public:
    ScreencopyGrab(WaylandConnection& connection, WaylandOutput& output, const OutputPart& part)
        : OutputGrab(connection, part)
    {
        static const zwlr_screencopy_frame_v1_listener listener = {OnBuffer, OnFlags,       OnReady,     OnFailed,
                                                                   OnDamage, OnLinuxDmabuf, OnBufferDone};
        m_pFrame = zwlr_screencopy_manager_v1_capture_output(connection.ScreenCopy(), 0, output.Get());
        m_bListsBuffers = zwlr_screencopy_frame_v1_get_version(m_pFrame) >= 3;
        zwlr_screencopy_frame_v1_add_listener(m_pFrame, &listener, this);
    }
    ~ScreencopyGrab() override { zwlr_screencopy_frame_v1_destroy(m_pFrame); }

private:
    static ScreencopyGrab& Of(void* data) { return *static_cast<ScreencopyGrab*>(data); }
    static void OnBuffer(void* data, zwlr_screencopy_frame_v1*, uint32_t format, uint32_t width, uint32_t height,
                         uint32_t stride)
    {
        ScreencopyGrab& grab = Of(data);
        const auto before = grab.m_format;
        grab.OfferFormat(format);
        if (grab.m_format == before)
            return;
        grab.m_width = static_cast<int>(width);
        grab.m_height = static_cast<int>(height);
        grab.m_stride = static_cast<int>(stride);
        if (!grab.m_bListsBuffers)
            grab.Copy();
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
        if (ShmBuffer* buffer = MakeBuffer())
            zwlr_screencopy_frame_v1_copy(m_pFrame, buffer->Get());
    }

    zwlr_screencopy_frame_v1* m_pFrame = nullptr;
    bool m_bListsBuffers = false;
};

std::unique_ptr<OutputGrab> GrabOutput(WaylandConnection& connection, WaylandOutput& output, const OutputPart& part)
{
    if (connection.ScreenCopy() != nullptr)
        return std::make_unique<ScreencopyGrab>(connection, output, part);
    return std::make_unique<ImageCopyGrab>(connection, output, part);
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
    if (connection.ScreenCopy() == nullptr && connection.ImageCopy() == nullptr) {
        why = "the compositor offers no way to copy the screen";
        return std::nullopt;
    }
    std::vector<std::unique_ptr<OutputGrab>> copies;
    for (WaylandOutput* output : outputs)
        copies.push_back(GrabOutput(connection, *output, layout.PartOf(output->Place())));
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
