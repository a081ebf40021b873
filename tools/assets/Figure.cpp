#include "tools/assets/Figure.h"

namespace {
void DrawBones(SpriteCanvas& canvas, Vec root, Vec joint, Vec tip, const LimbLook& look)
{
    const double middle = (look.thick + look.thin) / 2;
    canvas.Limb(root, joint, look.thick, middle, look.upper);
    canvas.Limb(joint, tip, middle * 0.9, look.thin, look.lower);
}
}

Vec DrawArm(SpriteCanvas& canvas, Vec shoulder, Vec hand, double bone, const LimbLook& look)
{
    const Vec elbow = Joint(shoulder, hand, bone, bone, false);
    DrawBones(canvas, shoulder, elbow, hand, look);
    return elbow;
}

void DrawLeg(SpriteCanvas& canvas, Vec hip, Vec knee, Vec ankle, const LimbLook& look, const Ramp& shoe,
             double shoeLength)
{
    DrawBones(canvas, hip, knee, ankle, look);
    canvas.Limb(ankle + Vec{-0.4, 0.3}, ankle + Vec{shoeLength, 0.5}, 1.1, 1.0, shoe);
}
