// Arms and legs of the figures: two bones each, the upper part in one
// material (a sleeve, a trouser leg) and the lower in another (a hand, a shin).
#pragma once

#include "tools/assets/Gait.h"

struct LimbLook {
    Ramp upper;
    Ramp lower;
    double thick; // radius at the shoulder or hip
    double thin;  // radius at the wrist or ankle
};

// Draws an arm reaching from the shoulder to the hand, the elbow bent back,
// and returns the elbow.
Vec DrawArm(SpriteCanvas& canvas, Vec shoulder, Vec hand, double bone, const LimbLook& look);
// Draws a leg through its knee and a shoe pointing forward from the ankle.
void DrawLeg(SpriteCanvas& canvas, Vec hip, Vec knee, Vec ankle, const LimbLook& look, const Ramp& shoe,
             double shoeLength);
