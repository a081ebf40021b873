// A horse in side view facing right, galloping through a looping stride.
// It is drawn in three layers so that riders, harness and chariots can go
// between them: the far legs, the body with neck, head and tail, and the
// near legs.
#pragma once

#include "tools/assets/Gait.h"

#include <array>

struct HorseLook {
    Ramp coat;
    Ramp mane;
    Ramp hoof;
    double size = 1.0;
};

class Horse {
public:
    // Frame of a cycle of frames; groundMiddle: the ground line below the
    // horse's middle. The phases say where each leg starts its stance: far
    // hind, near hind, far fore, near fore.
    Horse(const HorseLook& look, const Stride& stride, const std::array<double, 4>& phases, int frame, int frames,
          Vec groundMiddle);

    void DrawFarLegs(SpriteCanvas& canvas) const;
    void DrawBody(SpriteCanvas& canvas) const;
    void DrawNearLegs(SpriteCanvas& canvas) const;

    // Where riders and harness attach.
    Vec Saddle() const { return Body(0.0, -7.5); }
    Vec Withers() const { return Body(9.0, -8.0); }
    Vec Breast() const { return Body(15.5, 0.0); }
    Vec Mouth() const { return Body(25.5, -7.5); }
    Vec Rump() const { return Body(-14.0, -4.0); }
    // A point on the body, in body units from its middle.
    Vec Body(double dx, double dy) const { return m_centre + Vec{dx, dy} * m_look.size; }
    double Size() const { return m_look.size; }

private:
    struct Leg {
        Vec root, joint, fetlock;
    };
    void DrawLeg(SpriteCanvas& canvas, const Leg& leg, bool far) const;

    HorseLook m_look;
    Vec m_centre;
    double m_tailSwing = 0;
    std::array<Leg, 4> m_legs{};
};
