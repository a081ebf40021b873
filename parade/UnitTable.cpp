#include "parade/UnitTable.h"

#include "res/resource.h"

#include <algorithm>

const std::array<UnitKind, UNIT_KIND_COUNT> UNIT_TABLE = {{
    {IDS_UNIT_FIRST + 0, IDB_VOZUZUVIR, 52, 52, 10, true, -5, 8},
    {IDS_UNIT_FIRST + 1, IDB_LEGION, 64, 44, 10, false, 2, 16},
    {IDS_UNIT_FIRST + 2, IDB_CATAPHRACT, 90, 63, 10, true, -6, 12},
    {IDS_UNIT_FIRST + 3, IDB_VILLAGER, 28, 40, 15, false, 2, 13},
    {IDS_UNIT_FIRST + 4, IDB_CHARIOT, 116, 87, 10, true, -6, 16},
    {IDS_UNIT_FIRST + 5, IDB_PRIEST, 48, 53, 15, false, 2, 17},
    {IDS_UNIT_FIRST + 6, IDB_SCOUT, 74, 63, 10, true, -6, 13},
}};

const std::array<UINT, UNIT_KIND_COUNT> STRIP_ORDER = {IDB_VOZUZUVIR, IDB_CATAPHRACT, IDB_CHARIOT, IDB_SCOUT,
                                                       IDB_LEGION,    IDB_VILLAGER,   IDB_PRIEST};

int LaneGap(int screenHeight, int unitScale) { return (screenHeight - LANE_HEIGHT_SUM * unitScale) / 6; }

int StripSlot(const UnitKind& kind)
{
    const auto found = std::find(STRIP_ORDER.begin(), STRIP_ORDER.end(), kind.nStripId);
    return static_cast<int>(found - STRIP_ORDER.begin());
}
