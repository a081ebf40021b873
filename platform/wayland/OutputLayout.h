// Where each output shows its part of the one canvas the saver draws on.
// The outputs lie in the compositor's logical layout; the canvas is that
// layout in pixels of the largest scale, so that the sharpest output shows
// its part pixel for pixel. Every output's buffer is in its own device
// pixels: an output of a smaller scale shows its part shrunk.
#pragma once

#include "platform/WinApi.h"

#include <vector>

struct OutputPlace {
    // The output's rectangle in the logical layout.
    RECT logical{0, 0, 0, 0};
    // Device pixels per logical pixel (1.5 for a fractional scale of 3/2).
    double scale = 1.0;
};

struct OutputPart {
    // The part of the canvas the output shows.
    RECT canvas{0, 0, 0, 0};
    // The size of the output's buffer in its device pixels.
    SIZE device{0, 0};
};

class OutputLayout {
public:
    OutputLayout() = default;
    explicit OutputLayout(const std::vector<OutputPlace>& outputs);

    // The canvas, from 0,0; empty without outputs.
    SIZE CanvasSize() const { return m_canvas; }
    // Canvas pixels per logical pixel: the largest scale of any output.
    double CanvasScale() const { return m_scale; }
    const std::vector<OutputPart>& Parts() const { return m_parts; }

    // The part of an output placed later (one that appeared while the saver
    // runs), in the canvas's coordinates; it may lie outside the canvas.
    OutputPart PartOf(const OutputPlace& output) const;

private:
    int ToCanvas(double logical) const;

    POINT m_origin{0, 0};
    double m_scale = 1.0;
    SIZE m_canvas{0, 0};
    std::vector<OutputPart> m_parts;
};

// Maps between a canvas rectangle and the device pixels of the output that
// shows `part`: the identity, moved, when the scales agree.
RECT CanvasToDevice(const OutputPart& part, const RECT& canvas);
POINT SurfaceToCanvas(const OutputPart& part, SIZE logicalSize, double x, double y);
