// The copy of the desktop on Wayland: every output read through the
// compositor's screencopy protocol, or else its standard image copy
// capture, and placed on the canvas where that output shows its part, in
// 32-bit pixels of the display's own order.
#pragma once

#include "platform/present/ScreenCapture.h"
#include "platform/wayland/OutputLayout.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class WaylandConnection;
class WaylandOutput;

// Waits at most `timeoutMs` for the copies. Outputs that cannot be copied
// stay black; nothing when the compositor offers no way to copy at all
// (`why` then says so).
std::optional<DevicePixels> CopyOutputs(WaylandConnection& connection, const std::vector<WaylandOutput*>& outputs,
                                        const OutputLayout& layout, int timeoutMs, std::string& why);

// A black canvas of the layout's size, as CopyOutputs makes it.
DevicePixels BlackCanvas(SIZE size);
// The rows of a black canvas of that size, four bytes a pixel (blue, green,
// red, unused), to be drawn on and then handed over by CanvasPixels.
std::shared_ptr<std::vector<BYTE>> CanvasRows(SIZE size);
DevicePixels CanvasPixels(SIZE size, std::shared_ptr<std::vector<BYTE>> rows);
