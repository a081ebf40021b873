#include "platform/wayland/WaylandWindow.h"

#include "platform/queue/Region.h"
#include "platform/wayland/MonotonicClock.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandPaintSession.h"

#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr DWORD MASKS_888[3] = {0xFF0000, 0x00FF00, 0x0000FF};

bool IsAltKey(std::uint32_t key) { return key == KEY_LEFTALT || key == KEY_RIGHTALT; }

// The nearest thing to a virtual key that the core may see: the keys it
// tells apart are Alt and the rest.
WPARAM VirtualKey(std::uint32_t key) { return IsAltKey(key) ? VK_MENU : static_cast<WPARAM>(key); }
}

WaylandWindow::WaylandWindow(WaylandConnection& connection, const OutputLayout& layout, const PaletteStore& palettes,
                             MessageLoop& loop, WindowProcedure& procedure, HWND handle)
    : QueuedWindow(loop, procedure), m_connection(connection), m_layout(layout), m_palettes(palettes),
      m_handle(handle)
{
    m_painter.SetEncoder(PixelEncoder::ForMasks(32, MASKS_888[0], MASKS_888[1], MASKS_888[2]));
}

WaylandWindow::~WaylandWindow() { DestroyPlatformWindow(); }

MessageLoop::Microseconds WaylandWindow::Now() const { return MonotonicMicroseconds(); }

HWND WaylandWindow::CreatePlatformWindow(DWORD, DWORD, const RECT& rect, HWND parent)
{
    // The full-screen saver covers the outputs with layer surfaces, else
    // with full-screen toplevels; a child of the background host lies on
    // the background layer. A preview needs a host window to draw in,
    // which Wayland has no way to name.
    if (parent == WaylandBackgroundHost() && m_connection.LayerShell() != nullptr)
        m_role = SurfaceRole::Background;
    else if (parent == nullptr && m_connection.LayerShell() != nullptr)
        m_role = SurfaceRole::Overlay;
    else if (parent == nullptr && m_connection.WmBase() != nullptr)
        m_role = SurfaceRole::FullScreen;
    else
        return nullptr;
    m_cx = rect.right - rect.left;
    m_cy = rect.bottom - rect.top;
    if (m_cx <= 0 || m_cy <= 0)
        return nullptr;
    m_bCreated = true;
    for (WaylandOutput* output : m_connection.Outputs())
        AddOutput(*output);
    // The surfaces' sizes come with their first configure event.
    for (int round = 0; round < 10; ++round) {
        const bool configured = std::all_of(m_surfaces.begin(), m_surfaces.end(),
                                            [](const auto& surface) { return surface->IsConfigured(); });
        if (configured || !m_connection.Roundtrip())
            break;
    }
    return m_handle;
}

void WaylandWindow::DestroyPlatformWindow()
{
    m_surfaces.clear();
    m_bCreated = false;
}


void WaylandWindow::AddOutput(WaylandOutput& output)
{
    if (!m_bCreated)
        return;
    const OutputPart part = m_layout.PartOf(output.Place());
    SurfaceWatch watch;
    watch.ready = [this](OutputSurface& surface, bool resized) { OnSurfaceReady(surface, resized); };
    watch.closeAsked = [this] {
        if (m_bCloseAsked)
            return;
        m_bCloseAsked = true;
        Post(WM_CLOSE, 0, 0);
    };
    m_surfaces.push_back(std::make_unique<OutputSurface>(m_connection, output, part, m_role, std::move(watch)));
}

void WaylandWindow::RemoveOutput(WaylandOutput& output)
{
    std::erase_if(m_surfaces, [&output](const auto& surface) { return &surface->Output() == &output; });
}

OutputSurface* WaylandWindow::Find(wl_surface* surface) const
{
    for (const auto& shown : m_surfaces)
        if (shown->Surface() == surface)
            return shown.get();
    return nullptr;
}

void WaylandWindow::OnSurfaceReady(const OutputSurface& surface, bool resized)
{
    if (resized)
        AddToRegion(m_waiting, surface.Part().canvas);
    std::vector<RECT> waiting;
    waiting.swap(m_waiting);
    for (const RECT& area : waiting)
        InvalidateRect(&area, false);
}

void WaylandWindow::Present()
{
    std::erase_if(m_surfaces, [](const auto& surface) { return surface->IsClosed(); });
    for (const auto& surface : m_surfaces)
        surface->Present();
}

std::unique_ptr<PaintSession> WaylandWindow::OpenPaintSession(std::vector<RECT> areas)
{
    return std::make_unique<WaylandPaintSession>(*this, std::move(areas));
}

int WaylandWindow::Draw(const std::vector<RECT>& areas, int xDest, int yDest, int cxDest, int cyDest, int xSrc,
                        int ySrc, int cxSrc, int cySrc, const void* bits, const BITMAPINFO* info)
{
    int rows = 0;
    for (const auto& surface : m_surfaces) {
        const OutputPart& part = surface->Part();
        std::vector<RECT> onOutput;
        for (const RECT& area : areas) {
            const RECT shown = IntersectRects(area, part.canvas);
            if (!IsEmptyRect(shown))
                onOutput.push_back(shown);
        }
        if (onOutput.empty())
            continue;
        ShmBuffer* target = surface->DrawTarget();
        if (target == nullptr) {
            for (const RECT& area : onOutput)
                AddToRegion(m_waiting, area);
            continue;
        }
        std::vector<RECT> device;
        for (const RECT& area : onOutput)
            device.push_back(CanvasToDevice(part, area));
        const RECT to = CanvasToDevice(part, RECT{xDest, yDest, xDest + cxDest, yDest + cyDest});
        std::vector<RECT> written;
        const int drawn = m_painter.StretchDIBits(to.left, to.top, to.right - to.left, to.bottom - to.top, xSrc, ySrc,
                                                  cxSrc, cySrc, bits, info, device, target->Pixels(), written);
        rows = std::max(rows, drawn);
        for (const RECT& area : written)
            surface->AddDamage(area);
    }
    return rows;
}

LPARAM WaylandWindow::PositionOn(wl_surface* surface, double x, double y) const
{
    const OutputSurface* shown = Find(surface);
    const POINT point = shown != nullptr ? SurfaceToCanvas(shown->Part(), shown->LogicalSize(), x, y) : POINT{0, 0};
    return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
}

void WaylandWindow::OnPointer(wl_surface* surface, double x, double y, bool)
{
    // The position as the pointer comes onto the saver counts as its first
    // report; any later one that differs is a movement.
    m_lastPointer = PositionOn(surface, x, y);
    Post(WM_MOUSEMOVE, 0, m_lastPointer);
}

void WaylandWindow::OnButton(wl_surface*, std::uint32_t button, bool pressed)
{
    const LPARAM position = m_lastPointer;
    if (button == BTN_LEFT)
        PostButton(MouseButton::Left, pressed, position);
    else if (button == BTN_MIDDLE)
        PostButton(MouseButton::Middle, pressed, position);
    else if (button == BTN_RIGHT)
        PostButton(MouseButton::Right, pressed, position);
}

void WaylandWindow::OnWheel(wl_surface*, int steps)
{
    Post(WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(steps * 120)) << 16, m_lastPointer);
}

void WaylandWindow::OnTouch(wl_surface* surface, double x, double y)
{
    const LPARAM position = PositionOn(surface, x, y);
    PostButton(MouseButton::Left, true, position);
    PostButton(MouseButton::Left, false, position);
}

void WaylandWindow::OnKey(std::uint32_t key, bool pressed)
{
    if (IsAltKey(key))
        m_bAltDown = pressed;
    const bool alt = m_bAltDown || IsAltKey(key);
    if (pressed)
        Post(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, VirtualKey(key), 0);
    else
        Post(alt ? WM_SYSKEYUP : WM_KEYUP, VirtualKey(key), 0);
}

void WaylandWindow::OnKeyboardFocus(wl_surface* surface, bool entered)
{
    if (!Shows(surface))
        return;
    m_nFocused = std::max(0, m_nFocused + (entered ? 1 : -1));
    if (entered)
        m_bHadKeyboard = true;
}

void WaylandWindow::NoteKeyboardGone()
{
    if (!m_bHadKeyboard || m_nFocused > 0)
        return;
    m_bHadKeyboard = false;
    PostDeactivation();
}
