#include "platform/wayland/OutputLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
int Round(double value) { return static_cast<int>(std::lround(value)); }

// `value` of a span of `from` pixels in a span of `to`, rounded to the
// nearest pixel edge, so that neighbouring rectangles keep sharing edges.
LONG ScaleEdge(LONG value, LONG from, LONG to)
{
    if (from == to || from <= 0)
        return value;
    return static_cast<LONG>(std::lround(static_cast<double>(value) * to / from));
}
}

OutputLayout::OutputLayout(const std::vector<OutputPlace>& outputs)
{
    if (outputs.empty())
        return;
    constexpr LONG most = std::numeric_limits<LONG>::max();
    constexpr LONG least = std::numeric_limits<LONG>::min();
    RECT bounds{most, most, least, least};
    for (const OutputPlace& output : outputs) {
        bounds.left = std::min(bounds.left, output.logical.left);
        bounds.top = std::min(bounds.top, output.logical.top);
        bounds.right = std::max(bounds.right, output.logical.right);
        bounds.bottom = std::max(bounds.bottom, output.logical.bottom);
        m_scale = std::max(m_scale, output.scale);
    }
    m_origin = POINT{bounds.left, bounds.top};
    m_canvas = SIZE{ToCanvas(bounds.right - bounds.left), ToCanvas(bounds.bottom - bounds.top)};
    for (const OutputPlace& output : outputs)
        m_parts.push_back(PartOf(output));
}

int OutputLayout::ToCanvas(double logical) const { return Round(logical * m_scale); }

OutputPart OutputLayout::PartOf(const OutputPlace& output) const
{
    OutputPart part;
    part.canvas = RECT{ToCanvas(output.logical.left - m_origin.x), ToCanvas(output.logical.top - m_origin.y),
                       ToCanvas(output.logical.right - m_origin.x), ToCanvas(output.logical.bottom - m_origin.y)};
    part.device = SIZE{Round((output.logical.right - output.logical.left) * output.scale),
                       Round((output.logical.bottom - output.logical.top) * output.scale)};
    return part;
}

RECT CanvasToDevice(const OutputPart& part, const RECT& canvas)
{
    const LONG width = part.canvas.right - part.canvas.left;
    const LONG height = part.canvas.bottom - part.canvas.top;
    return RECT{ScaleEdge(canvas.left - part.canvas.left, width, part.device.cx),
                ScaleEdge(canvas.top - part.canvas.top, height, part.device.cy),
                ScaleEdge(canvas.right - part.canvas.left, width, part.device.cx),
                ScaleEdge(canvas.bottom - part.canvas.top, height, part.device.cy)};
}

POINT SurfaceToCanvas(const OutputPart& part, SIZE logicalSize, double x, double y)
{
    const double width = part.canvas.right - part.canvas.left;
    const double height = part.canvas.bottom - part.canvas.top;
    const double fx = logicalSize.cx > 0 ? width / logicalSize.cx : 1.0;
    const double fy = logicalSize.cy > 0 ? height / logicalSize.cy : 1.0;
    return POINT{part.canvas.left + static_cast<LONG>(std::floor(x * fx)),
                 part.canvas.top + static_cast<LONG>(std::floor(y * fy))};
}
