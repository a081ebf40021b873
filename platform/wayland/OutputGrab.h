// One output's picture as the compositor delivers it into a buffer of the
// saver's, by whichever protocol it offers, and its placing on the canvas
// where that output shows its part.
#pragma once

#include "platform/wayland/OutputLayout.h"
#include "platform/wayland/ShmBuffer.h"

#include <cstdint>
#include <memory>
#include <optional>

class WaylandConnection;

class OutputGrab {
public:
    virtual ~OutputGrab() = default;
    OutputGrab(const OutputGrab&) = delete;
    OutputGrab& operator=(const OutputGrab&) = delete;

    bool IsOver() const { return m_bReady || m_bFailed; }
    // Places the picture on the canvas (four bytes a pixel: blue, green,
    // red, unused), scaled to the part; nothing when it did not arrive.
    void PlaceOn(BYTE* canvas, SIZE size) const;

protected:
    OutputGrab(WaylandConnection& connection, const OutputPart& part) : m_connection(connection), m_part(part) {}

    // Takes `format` for the picture if it can be read, unless one taken
    // already is in the canvas's own order.
    void OfferFormat(std::uint32_t format);
    // The buffer for a picture of m_width by m_height in the format taken;
    // null, and the grab failed, when there is none.
    ShmBuffer* MakeBuffer();

    WaylandConnection& m_connection;
    std::optional<std::uint32_t> m_format;
    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
    bool m_bUpsideDown = false;
    bool m_bReady = false;
    bool m_bFailed = false;

private:
    OutputPart m_part;
    std::unique_ptr<ShmBuffer> m_pBuffer;
};
