#include "platform/wayland/WaylandGraphics.h"

#include "platform/present/ScreenCapture.h"
#include "platform/wayland/PortalDesktop.h"
#include "platform/wayland/ScreenCopy.h"
#include "platform/wayland/WaylandConnection.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
// How long the saver waits for the compositor's copies before it shows
// what it has.
constexpr int COPY_PATIENCE_MS = 2000;
// How long it waits for the desktop portal, all of its exchange included.
constexpr int PORTAL_PATIENCE_MS = 3000;
constexpr int UNSCALED_DPI = 96;

// Set (to anything) by the tests to copy through the desktop portal where
// the compositor offers screencopy too.
bool SkipsScreenCopy() { return std::getenv("DOVEZI_SKIP_SCREENCOPY") != nullptr; }
}

WaylandGraphics::WaylandGraphics(WaylandConnection& connection, const OutputLayout& layout)
    : m_connection(connection), m_layout(layout)
{
}

int WaylandGraphics::StatedDpi() { return static_cast<int>(std::lround(UNSCALED_DPI * m_layout.CanvasScale())); }

std::unique_ptr<DeviceBitmap> WaylandGraphics::CopyScreen()
{
    std::string why;
    const std::vector<WaylandOutput*> outputs = m_connection.Outputs();
    std::optional<DevicePixels> pixels;
    if (!SkipsScreenCopy())
        pixels = CopyOutputs(m_connection, outputs, m_layout, COPY_PATIENCE_MS, why);
    if (!pixels && !m_bToldNoCopy)
        pixels = CopyThroughPortal(outputs, m_layout, PORTAL_PATIENCE_MS, why);
    if (!pixels) {
        if (!m_bToldNoCopy)
            std::fprintf(stderr, "Dovezi: %s; the desktop shows black\n", why.c_str());
        m_bToldNoCopy = true;
        pixels = BlackCanvas(m_layout.CanvasSize());
    }
    auto capture = std::make_unique<ScreenCapture>(std::move(*pixels), m_palettes);
    if (!capture->IsValid())
        return nullptr;
    return capture;
}
