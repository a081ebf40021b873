// Lays out the seven lanes and creates their marchers from the settings.
#pragma once

#include "parade/MarcherList.h"
#include "parade/UnitTable.h"

#include <array>
#include <string>

class ParadeSettings;
class Resources;

// A count stored above this is taken as this many: beyond it the lane is
// only more of the same units walking over each other.
constexpr int MAX_MARCHERS_PER_KIND = 10000;

// `strips` are in STRIP_ORDER, already enlarged `unitScale` times, or,
// with `enlargeAsDrawn` (32-bit strips only), at their own size and
// enlarged as they are drawn; `unitNames` are the display names of the
// kinds in lane order, which are also their settings keys. Frames, steps
// and lanes grow with the units, so a march crosses a screen that is
// `unitScale` times larger in the same number of ticks.
void BuildParade(MarcherList& marchers, const std::array<DibSurface, UNIT_KIND_COUNT>& strips,
                 const std::array<std::string, UNIT_KIND_COUNT>& unitNames, const ParadeSettings& settings,
                 int screenWidth, int laneGap, int unitScale = 1, bool enlargeAsDrawn = false);
