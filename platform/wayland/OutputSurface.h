// The saver's surface on one output: a layer surface above everything,
// anchored to every edge, that takes the keyboard, with its buffers in the
// output's device pixels. Drawing goes into a buffer the compositor does
// not hold, brought up to date first; the drawn buffer is committed with
// its damage when the compositor asks for the next frame.
#pragma once

#include "platform/wayland/OutputLayout.h"
#include "platform/wayland/ShmBuffer.h"

#include <functional>
#include <memory>
#include <vector>

struct wl_callback;
struct wl_surface;
struct wp_viewport;
struct zwlr_layer_surface_v1;
class WaylandConnection;
class WaylandOutput;

class OutputSurface {
public:
    // `ready` is called when drawing that had to wait may go ahead: the
    // surface got its size, or a buffer came free; `resized` tells that the
    // whole part must be drawn again.
    OutputSurface(WaylandConnection& connection, WaylandOutput& output, const OutputPart& part,
                  std::function<void(OutputSurface&, bool resized)> ready);
    ~OutputSurface();
    OutputSurface(const OutputSurface&) = delete;
    OutputSurface& operator=(const OutputSurface&) = delete;

    WaylandOutput& Output() const { return m_output; }
    wl_surface* Surface() const { return m_pSurface; }
    const OutputPart& Part() const { return m_part; }
    SIZE LogicalSize() const { return m_logical; }
    bool IsConfigured() const { return m_logical.cx > 0 && m_logical.cy > 0; }
    bool IsClosed() const { return m_bClosed; }

    // A buffer that shows what the output shows now, to draw on; null while
    // the surface has no size or the compositor holds every buffer.
    ShmBuffer* DrawTarget();
    // Device rectangles drawn on the target since the last frame.
    void AddDamage(const RECT& device);
    // Commits the drawn buffer when the compositor is ready for a frame.
    void Present();

private:
    static void OnConfigure(void* data, zwlr_layer_surface_v1*, uint32_t serial, uint32_t width, uint32_t height);
    static void OnClosed(void* data, zwlr_layer_surface_v1*);
    static void OnFrameDone(void* data, wl_callback* callback, uint32_t);
    static void OnBufferRelease(void* data);

    struct Buffer {
        std::unique_ptr<ShmBuffer> pixels;
        // Where it differs from the buffer shown last.
        std::vector<RECT> stale;
    };

    // Device size and buffer scale for the logical size the compositor gave.
    void FitBuffers();
    Buffer* FreeBuffer();
    void BringUpToDate(Buffer& buffer);

    WaylandConnection& m_connection;
    WaylandOutput& m_output;
    OutputPart m_part;
    std::function<void(OutputSurface&, bool)> m_ready;
    wl_surface* m_pSurface = nullptr;
    zwlr_layer_surface_v1* m_pLayer = nullptr;
    wp_viewport* m_pViewport = nullptr;
    wl_callback* m_pFrame = nullptr;
    SIZE m_logical{0, 0};
    bool m_bClosed = false;
    std::vector<Buffer> m_buffers;
    Buffer* m_pDrawn = nullptr;
    Buffer* m_pShown = nullptr;
    std::vector<RECT> m_damage;
};
