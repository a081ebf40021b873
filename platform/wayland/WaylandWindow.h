// The full-screen saver on Wayland: one window of the message loop that
// spans the outputs' layout, shown as one surface per output, each with its
// part of the window at that output's device pixels: layer surfaces above
// everything, or full-screen toplevels where the compositor has no layer
// shell. Input on any of them becomes the window's messages; losing the
// keyboard to another surface of the compositor (a lock screen) deactivates
// it, and a toplevel the compositor asks to close closes it. A window made
// as a child of the background host is drawn on the background layer
// instead, below every window, and gets no input.
#pragma once

#include "platform/present/DibPainter.h"
#include "platform/queue/QueuedWindow.h"
#include "platform/wayland/OutputSurface.h"
#include "platform/wayland/WaylandSeat.h"

#include <cstdint>
#include <memory>
#include <vector>

class PaletteStore;
class WaylandConnection;

// The handle that stands for the desktop's background, the size of the
// outputs' layout: a display mode's host window.
inline HWND WaylandBackgroundHost() { return reinterpret_cast<HWND>(std::uintptr_t{8}); }

class WaylandWindow : public QueuedWindow, public SeatInput {
public:
    WaylandWindow(WaylandConnection& connection, const OutputLayout& layout, const PaletteStore& palettes,
                  MessageLoop& loop, WindowProcedure& procedure, HWND handle);
    ~WaylandWindow() override;

    RECT ClientRect() const override { return RECT{0, 0, m_cx, m_cy}; }
    void HideCursor() override {}

    // The saver's full-screen window, not the background's.
    bool IsFullScreen() const { return (!m_surfaces.empty() || m_bCreated) && m_role != SurfaceRole::Background; }
    bool HasKeyboard() const { return m_nFocused > 0; }
    bool Shows(wl_surface* surface) const { return Find(surface) != nullptr; }
    void AddOutput(WaylandOutput& output);
    void RemoveOutput(WaylandOutput& output);
    // Commits what was drawn on every output that is ready for a frame.
    void Present();
    // After the events of one read: the keyboard gone from every surface of
    // the saver, once it had it, deactivates the window.
    void NoteKeyboardGone();
    // Draws a picture as StretchDIBits does, on every output it falls on.
    int Draw(const std::vector<RECT>& areas, int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc,
             int cxSrc, int cySrc, const void* bits, const BITMAPINFO* info);
    const PaletteStore& Palettes() const { return m_palettes; }

    void OnPointer(wl_surface* surface, double x, double y, bool entered) override;
    void OnButton(wl_surface* surface, std::uint32_t button, bool pressed) override;
    void OnWheel(wl_surface* surface, int steps) override;
    void OnTouch(wl_surface* surface, double x, double y) override;
    void OnKey(std::uint32_t key, bool pressed) override;
    void OnKeyboardFocus(wl_surface* surface, bool entered) override;

protected:
    HWND CreatePlatformWindow(DWORD exStyle, DWORD style, const RECT& rect, HWND parent) override;
    void DestroyPlatformWindow() override;
    std::unique_ptr<PaintSession> OpenPaintSession(std::vector<RECT> areas) override;
    MessageLoop::Microseconds Now() const override;

private:
    OutputSurface* Find(wl_surface* surface) const;
    LPARAM PositionOn(wl_surface* surface, double x, double y) const;
    // Areas that could not be drawn are drawn again once `surface` can take them.
    void OnSurfaceReady(const OutputSurface& surface, bool resized);

    WaylandConnection& m_connection;
    const OutputLayout& m_layout;
    const PaletteStore& m_palettes;
    HWND m_handle;
    std::vector<std::unique_ptr<OutputSurface>> m_surfaces;
    DibPainter m_painter;
    std::vector<RECT> m_waiting;
    int m_cx = 0;
    int m_cy = 0;
    bool m_bCreated = false;
    SurfaceRole m_role = SurfaceRole::Overlay;
    bool m_bCloseAsked = false;
    int m_nFocused = 0;
    bool m_bHadKeyboard = false;
    bool m_bAltDown = false;
    LPARAM m_lastPointer = 0;
};
