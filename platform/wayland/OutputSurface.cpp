#include "platform/wayland/OutputSurface.h"

#include "platform/queue/Region.h"
#include "platform/wayland/WaylandConnection.h"
#include "viewporter-client-protocol.h"
#include "xdg-shell-client-protocol.h"
#include "platform/wayland/LayerShellProtocol.h"
#include "platform/wayland/WaylandOutput.h"

#include <wayland-client.h>

#include <cmath>
#include <cstring>

namespace {
constexpr std::size_t MAX_BUFFERS = 2;
// What the compositor may show of the program in its lists of windows.
constexpr const char* TITLE = "Velmar Dovezi Screen Saver";
constexpr const char* APP_ID = "dovezi";
constexpr uint32_t ALL_EDGES = ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                               ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;

void CopyArea(const PixelTarget& from, const PixelTarget& to, const RECT& area)
{
    const LONG right = std::min<LONG>(area.right, std::min(from.width, to.width));
    const LONG bottom = std::min<LONG>(area.bottom, std::min(from.height, to.height));
    const LONG left = std::max<LONG>(area.left, 0);
    if (left >= right)
        return;
    for (LONG y = std::max<LONG>(area.top, 0); y < bottom; ++y)
        std::memcpy(to.At(left, y), from.At(left, y), static_cast<std::size_t>(right - left) * to.bytesPerPixel);
}
}

OutputSurface::OutputSurface(WaylandConnection& connection, WaylandOutput& output, const OutputPart& part,
                             SurfaceRole role, SurfaceWatch watch)
    : m_connection(connection), m_output(output), m_part(part), m_watch(std::move(watch))
{
    m_pSurface = wl_compositor_create_surface(connection.Compositor());
    if (role == SurfaceRole::FullScreen)
        MakeToplevel();
    else
        MakeLayerSurface(role);
    if (connection.Viewporter() != nullptr)
        m_pViewport = wp_viewporter_get_viewport(connection.Viewporter(), m_pSurface);
    wl_surface_commit(m_pSurface);
}

void OutputSurface::MakeLayerSurface(SurfaceRole role)
{
    static const zwlr_layer_surface_v1_listener listener = {OnConfigure, OnClosed};
    const bool background = role == SurfaceRole::Background;
    m_pLayer = zwlr_layer_shell_v1_get_layer_surface(
        m_connection.LayerShell(), m_pSurface, m_output.Get(),
        background ? ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND : ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY,
        background ? "wallpaper" : "screensaver");
    zwlr_layer_surface_v1_add_listener(m_pLayer, &listener, this);
    zwlr_layer_surface_v1_set_anchor(m_pLayer, ALL_EDGES);
    // Over the whole output, panels' zones included.
    zwlr_layer_surface_v1_set_exclusive_zone(m_pLayer, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        m_pLayer, background ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE
                             : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
    if (background) {
        // An empty input region: the pointer over the background is the
        // compositor's, with its own cursor, as over a bare desktop.
        wl_region* nothing = wl_compositor_create_region(m_connection.Compositor());
        wl_surface_set_input_region(m_pSurface, nothing);
        wl_region_destroy(nothing);
    }
}

void OutputSurface::MakeToplevel()
{
    static const xdg_surface_listener surfaceListener = {OnXdgConfigure};
    static const xdg_toplevel_listener toplevelListener = {OnToplevelConfigure, OnToplevelClose, OnToplevelBounds,
                                                           OnToplevelCapabilities};
    m_pXdgSurface = xdg_wm_base_get_xdg_surface(m_connection.WmBase(), m_pSurface);
    xdg_surface_add_listener(m_pXdgSurface, &surfaceListener, this);
    m_pToplevel = xdg_surface_get_toplevel(m_pXdgSurface);
    xdg_toplevel_add_listener(m_pToplevel, &toplevelListener, this);
    xdg_toplevel_set_title(m_pToplevel, TITLE);
    xdg_toplevel_set_app_id(m_pToplevel, APP_ID);
    xdg_toplevel_set_fullscreen(m_pToplevel, m_output.Get());
}

OutputSurface::~OutputSurface()
{
    if (m_pFrame != nullptr)
        wl_callback_destroy(m_pFrame);
    if (m_pViewport != nullptr)
        wp_viewport_destroy(m_pViewport);
    if (m_pLayer != nullptr)
        zwlr_layer_surface_v1_destroy(m_pLayer);
    if (m_pToplevel != nullptr)
        xdg_toplevel_destroy(m_pToplevel);
    if (m_pXdgSurface != nullptr)
        xdg_surface_destroy(m_pXdgSurface);
    wl_surface_destroy(m_pSurface);
    m_buffers.clear();
}

void OutputSurface::OnConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width,
                                uint32_t height)
{
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    static_cast<OutputSurface*>(data)->Configure(SIZE{static_cast<LONG>(width), static_cast<LONG>(height)});
}

void OutputSurface::OnToplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*)
{
    static_cast<OutputSurface*>(data)->m_pendingSize = SIZE{width, height};
}

void OutputSurface::OnXdgConfigure(void* data, xdg_surface* surface, uint32_t serial)
{
    auto& self = *static_cast<OutputSurface*>(data);
    xdg_surface_ack_configure(surface, serial);
    // No size: the window's own choice, the output's.
    SIZE logical = self.m_pendingSize;
    if (logical.cx <= 0 || logical.cy <= 0) {
        const RECT place = self.m_output.Place().logical;
        logical = SIZE{place.right - place.left, place.bottom - place.top};
    }
    self.Configure(logical);
}

void OutputSurface::OnToplevelClose(void* data, xdg_toplevel*)
{
    auto& self = *static_cast<OutputSurface*>(data);
    if (self.m_watch.closeAsked)
        self.m_watch.closeAsked();
}

void OutputSurface::OnToplevelBounds(void*, xdg_toplevel*, int32_t, int32_t) {}
void OutputSurface::OnToplevelCapabilities(void*, xdg_toplevel*, wl_array*) {}

void OutputSurface::Configure(SIZE logical)
{
    if (logical.cx <= 0 || logical.cy <= 0 || (logical.cx == m_logical.cx && logical.cy == m_logical.cy))
        return;
    m_logical = logical;
    FitBuffers();
    // A fresh buffer is black: committed as it is where nothing is drawn
    // on it, it still covers the output.
    DrawTarget();
    m_watch.ready(*this, true);
}

void OutputSurface::OnClosed(void* data, zwlr_layer_surface_v1*) { static_cast<OutputSurface*>(data)->m_bClosed = true; }

void OutputSurface::FitBuffers()
{
    const int scale = m_output.IntegerScale();
    const SIZE device = m_part.device;
    const bool integral = device.cx == m_logical.cx * scale && device.cy == m_logical.cy * scale;
    if (integral || m_pViewport == nullptr) {
        m_part.device = SIZE{m_logical.cx * scale, m_logical.cy * scale};
        wl_surface_set_buffer_scale(m_pSurface, scale);
    } else {
        wp_viewport_set_destination(m_pViewport, m_logical.cx, m_logical.cy);
    }
    m_buffers.clear();
    m_pDrawn = nullptr;
    m_pShown = nullptr;
    m_damage.clear();
}

ShmBuffer* OutputSurface::DrawTarget()
{
    if (!IsConfigured() || m_bClosed)
        return nullptr;
    if (m_pDrawn == nullptr) {
        m_pDrawn = FreeBuffer();
        if (m_pDrawn == nullptr)
            return nullptr;
        BringUpToDate(*m_pDrawn);
    }
    return m_pDrawn->pixels.get();
}

OutputSurface::Buffer* OutputSurface::FreeBuffer()
{
    for (Buffer& buffer : m_buffers)
        if (!buffer.pixels->IsBusy())
            return &buffer;
    if (m_buffers.size() == MAX_BUFFERS)
        return nullptr;
    // The scene's own pixels, which every compositor takes.
    const std::uint32_t format = WL_SHM_FORMAT_XRGB8888;
    // Rows start on 4-byte bounds, as compositors take them.
    const int stride = (m_part.device.cx * ShmBuffer::BytesPerPixel(format) + 3) & ~3;
    auto pixels = ShmBuffer::Create(m_connection.Shm(), m_part.device.cx, m_part.device.cy, stride, format);
    if (pixels == nullptr)
        return nullptr;
    pixels->SetReleaseWatch(OnBufferRelease, this);
    // The vector never grows past its reserve, so the buffers stay put.
    m_buffers.reserve(MAX_BUFFERS);
    Buffer& added = m_buffers.emplace_back();
    added.pixels = std::move(pixels);
    if (m_pShown != nullptr)
        added.stale.push_back(RECT{0, 0, m_part.device.cx, m_part.device.cy});
    return &added;
}

void OutputSurface::BringUpToDate(Buffer& buffer)
{
    if (m_pShown != nullptr && m_pShown != &buffer)
        for (const RECT& area : buffer.stale)
            CopyArea(m_pShown->pixels->Pixels(), buffer.pixels->Pixels(), area);
    buffer.stale.clear();
}

void OutputSurface::AddDamage(const RECT& device) { AddToRegion(m_damage, device); }

void OutputSurface::Present()
{
    if (m_pDrawn == nullptr || m_pFrame != nullptr || m_bClosed)
        return;
    if (m_damage.empty() && m_pShown != nullptr)
        return;
    wl_surface_attach(m_pSurface, m_pDrawn->pixels->Get(), 0, 0);
    if (m_pShown == nullptr)
        wl_surface_damage_buffer(m_pSurface, 0, 0, m_part.device.cx, m_part.device.cy);
    for (const RECT& area : m_damage) {
        wl_surface_damage_buffer(m_pSurface, area.left, area.top, area.right - area.left, area.bottom - area.top);
        for (Buffer& other : m_buffers)
            if (&other != m_pDrawn)
                AddToRegion(other.stale, area);
    }
    static const wl_callback_listener frameListener = {OnFrameDone};
    m_pFrame = wl_surface_frame(m_pSurface);
    wl_callback_add_listener(m_pFrame, &frameListener, this);
    wl_surface_commit(m_pSurface);
    m_pDrawn->pixels->Hold();
    m_pShown = m_pDrawn;
    m_pDrawn = nullptr;
    m_damage.clear();
}

void OutputSurface::OnFrameDone(void* data, wl_callback* callback, uint32_t)
{
    auto& self = *static_cast<OutputSurface*>(data);
    wl_callback_destroy(callback);
    self.m_pFrame = nullptr;
}

void OutputSurface::OnBufferRelease(void* data)
{
    auto& self = *static_cast<OutputSurface*>(data);
    self.m_watch.ready(self, false);
}
