// X cursors made from the module's Windows cursor resources (.cur bytes:
// a monochrome image with its AND and XOR masks).
#pragma once

#include "platform/Resources.h"

#include <X11/Xlib.h>

// The cursor that `block` describes; a cursor with no visible pixel when
// the bytes cannot be read.
Cursor CreateCursorFromResource(Display* display, Window root, const ResourceBlock& block);
