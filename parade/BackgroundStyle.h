// The background styles the working background is turned into.
#pragma once

#include "platform/WinApi.h"

#include <optional>

class DibSurface;

enum BackgroundStyle {
    BACKGROUND_NORMAL = 0,
    BACKGROUND_BLACK = 1,
    BACKGROUND_WHITE = 2,
    BACKGROUND_SHADE = 3,
    BACKGROUND_VERTICAL_INTERLACE = 4,
    BACKGROUND_HORIZONTAL_INTERLACE = 5,
    BACKGROUND_GAMMA = 6,
};

// Applies `style`; `gamma` is the brightness amount of BACKGROUND_GAMMA.
// Any other style leaves the surface as it is. Failing steps change nothing.
void ApplyBackgroundStyle(DibSurface& surface, int style, int gamma);
// True when `style` makes the same picture from a 16-bit copy of the
// desktop as from a 24-bit one: it keeps or blackens pixels and never
// computes new colours from them.
bool IsExactAt16Bit(int style);
// The one colour of a style that shows nothing of the desktop; nothing for
// the styles made from it.
std::optional<COLORREF> SolidColorOf(int style);
