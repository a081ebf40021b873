// The saver's surface on one output, in one of three roles: a layer surface
// above everything that takes the keyboard; where the compositor has no
// layer shell, a toplevel window made full screen on the output; or, for a
// background, a layer surface below every window that takes no input. Its
// buffers are in the output's device pixels. Drawing goes into a buffer the
// compositor does not hold, brought up to date first; the drawn buffer is
// committed with its damage when the compositor asks for the next frame.
#pragma once

#include "platform/wayland/OutputLayout.h"
#include "platform/wayland/ShmBuffer.h"

#include <functional>
#include <memory>
#include <vector>

struct wl_callback;
struct wl_surface;
struct wp_viewport;
struct xdg_surface;
struct xdg_toplevel;
struct wl_array;
struct zwlr_layer_surface_v1;
class OutputSurface;
class WaylandConnection;
class WaylandOutput;

enum class SurfaceRole {
    // A layer surface on the overlay layer, anchored to every edge, that
    // takes the keyboard: the saver where the compositor has the layer shell.
    Overlay,
    // An xdg_toplevel made full screen on its output: the saver elsewhere.
    FullScreen,
    // A layer surface on the background layer, below every window, that
    // takes neither the keyboard nor the pointer: a wallpaper.
    Background,
};

// What the surface tells its window: drawing that had to wait may go
// ahead (`resized`: the whole part must be drawn again), and the compositor
// asked the window to close (a toplevel's close).
struct SurfaceWatch {
    std::function<void(OutputSurface&, bool resized)> ready;
    std::function<void()> closeAsked;
};

class OutputSurface {
public:
    // The watch's `ready` is called once the surface got its size, and
    // whenever a buffer came free.
    OutputSurface(WaylandConnection& connection, WaylandOutput& output, const OutputPart& part, SurfaceRole role,
                  SurfaceWatch watch);
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
    static void OnXdgConfigure(void* data, xdg_surface*, uint32_t serial);
    static void OnToplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*);
    static void OnToplevelClose(void* data, xdg_toplevel*);
    static void OnToplevelBounds(void*, xdg_toplevel*, int32_t, int32_t);
    static void OnToplevelCapabilities(void*, xdg_toplevel*, wl_array*);
    static void OnFrameDone(void* data, wl_callback* callback, uint32_t);
    static void OnBufferRelease(void* data);

    struct Buffer {
        std::unique_ptr<ShmBuffer> pixels;
        // Where it differs from the buffer shown last.
        std::vector<RECT> stale;
    };

    void MakeLayerSurface(SurfaceRole role);
    void MakeToplevel();
    // The compositor gave the surface this logical size.
    void Configure(SIZE logical);
    // Device size and buffer scale for the logical size the compositor gave.
    void FitBuffers();
    Buffer* FreeBuffer();
    void BringUpToDate(Buffer& buffer);

    WaylandConnection& m_connection;
    WaylandOutput& m_output;
    OutputPart m_part;
    SurfaceWatch m_watch;
    wl_surface* m_pSurface = nullptr;
    zwlr_layer_surface_v1* m_pLayer = nullptr;
    xdg_surface* m_pXdgSurface = nullptr;
    xdg_toplevel* m_pToplevel = nullptr;
    // The toplevel's size of its latest configure, until it is acknowledged.
    SIZE m_pendingSize{0, 0};
    wp_viewport* m_pViewport = nullptr;
    wl_callback* m_pFrame = nullptr;
    SIZE m_logical{0, 0};
    bool m_bClosed = false;
    std::vector<Buffer> m_buffers;
    Buffer* m_pDrawn = nullptr;
    Buffer* m_pShown = nullptr;
    std::vector<RECT> m_damage;
};
