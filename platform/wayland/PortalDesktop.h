// The copy of the desktop through the desktop portal, where the compositor
// offers no way to copy its outputs: the portal's picture spans the whole
// logical layout, and each output's part of it is placed on the canvas
// where that output shows its part. The picture's file is deleted once read.
#pragma once

#include "platform/present/ScreenCapture.h"
#include "platform/wayland/OutputLayout.h"

#include <optional>
#include <string>
#include <vector>

class WaylandOutput;

// Waits at most `timeoutMs` in all; nothing, with `why` saying so, when the
// portal gives no readable picture.
std::optional<DevicePixels> CopyThroughPortal(const std::vector<WaylandOutput*>& outputs, const OutputLayout& layout,
                                              int timeoutMs, std::string& why);
