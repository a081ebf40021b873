// A region kept as a short list of rectangles: a rectangle that overlaps or
// touches one already there is merged into it, and a list grown past its
// limit collapses into its bounding rectangle.
#pragma once

#include "platform/WinApi.h"

#include <vector>

void AddToRegion(std::vector<RECT>& region, const RECT& rect);
RECT BoundingRect(const std::vector<RECT>& region);
