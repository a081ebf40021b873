// The seven unit kinds in lane order, and the lane geometry.
#pragma once

#include "platform/WinApi.h"

#include <array>

struct UnitKind {
    UINT nNameId;
    UINT nStripId;
    int cxFrame;
    int cyFrame;
    int nFrames;
    bool bWalksLeft;
    int nStepX;
    UINT nDelayStep;
};

constexpr int UNIT_KIND_COUNT = 7;
constexpr int LANE_HEIGHT_SUM = 402;

extern const std::array<UnitKind, UNIT_KIND_COUNT> UNIT_TABLE;
// The bitmap ids of the strips in the order the saver window keeps them.
extern const std::array<UINT, UNIT_KIND_COUNT> STRIP_ORDER;

// The vertical gap between lanes on a display `screenHeight` pixels high
// with units enlarged `unitScale` times; negative when the lanes must overlap.
int LaneGap(int screenHeight, int unitScale = 1);
// Index into STRIP_ORDER of the strip a unit kind draws from.
int StripSlot(const UnitKind& kind);
