// Resizing by area averaging: every target pixel covers a rectangle of the
// source, and takes the average of the source pixels under it, each
// weighted by the part of it that is covered. Shrinking keeps thin lines
// and small figures visible as blended colour instead of dropping them.
#pragma once

#include "platform/present/PixelConvert.h"
#include "platform/present/PixelTarget.h"

// Draws source rectangle `from` (rows counted from the top) scaled onto
// target rectangle `to`, writing only the target pixels inside `clip`,
// which must lie within `to` and the target. `reader` turns source rows
// into 32-bit 0x00RRGGBB pixels; `encoder` makes the target's pixels.
void ScaleArea(const DibSource& source, const PixelConverter& reader, const RECT& from, const RECT& to,
               const RECT& clip, const PixelEncoder& encoder, const PixelTarget& target);
