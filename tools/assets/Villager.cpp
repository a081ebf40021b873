// A villager walking to the right in a straw hat and green smock, a spade
// resting on the near shoulder and the free arm swinging.
#include "tools/assets/Figure.h"
#include "tools/assets/UnitArt.h"

#include <cmath>
#include <numbers>

namespace {

constexpr int width = 28;
constexpr int height = 40;
constexpr int frames = 15;
constexpr double ground = 39.0;
constexpr double thigh = 5.8;
constexpr double shin = 5.8;
constexpr double ankleHeight = 1.3;

// Two steps of each foot in the fifteen frames.
const Stride stride{frames / 2.0, 2.0, 0.6, 2.0};

const LimbLook nearLeg{Ramps::leather, Ramps::leather, 1.8, 1.3};
const LimbLook farLeg{Dim(Ramps::leather), Dim(Ramps::leather), 1.8, 1.3};

}

IndexedImage DrawVillagerFrame(int frame)
{
    SpriteCanvas canvas(width, height);
    const WalkPose pose = Walk(stride, frame, frames, 13.0, ground - ankleHeight, thigh, shin, true);
    const Vec hip = pose.hip;
    const Vec shoulder = hip + Vec{0.8, -9.0};
    const Vec head = shoulder + Vec{0.8, -4.2};
    const double swing = std::sin(2 * std::numbers::pi * frame / stride.framesPerCycle);

    // Far arm swings opposite the far leg.
    const Vec farShoulder = shoulder + Vec{-0.5, 0.5};
    const Vec farHand = farShoulder + Vec{3.5 * swing, 7.0};
    DrawArm(canvas, farShoulder, farHand, 3.8, {Dim(Ramps::greenCloth), Dim(Ramps::skin), 1.3, 1.0});

    DrawLeg(canvas, hip, pose.farKnee, pose.farAnkle, farLeg, Dim(Ramps::hair), 2.2);
    // Smock down to the knees, rope belt.
    canvas.Polygon({shoulder + Vec{-3.0, -1.0}, shoulder + Vec{2.5, -1.0}, hip + Vec{4.2, 3.5}, hip + Vec{-3.8, 3.5}},
                   Ramps::greenCloth);
    canvas.Limb(hip + Vec{-3.0, -0.5}, hip + Vec{3.0, -0.5}, 0.6, 0.6, Ramps::straw);
    DrawLeg(canvas, hip, pose.nearKnee, pose.nearAnkle, nearLeg, Ramps::hair, 2.2);

    // Spade over the shoulder: handle slanting back, blade behind the back.
    const Vec hand = shoulder + Vec{3.5, 3.0};
    const Vec rest = shoulder + Vec{-4.0, -0.5};
    const double slant = std::atan2(rest.y - hand.y, rest.x - hand.x);
    const Vec bladeRoot = Polar(hand, slant, 11.0);
    canvas.Limb(Polar(hand, slant, -2.0), bladeRoot, 0.6, 0.6, Ramps::wood);
    const Vec across = Polar({0.0, 0.0}, slant + 1.5708, 2.3);
    const Vec bladeTip = Polar(hand, slant, 16.5);
    canvas.Polygon({bladeRoot + across * 0.7, bladeRoot - across * 0.7, Polar(bladeTip, slant, -1.0) - across,
                    bladeTip, Polar(bladeTip, slant, -1.0) + across},
                   Ramps::steel);

    // Head and straw hat.
    canvas.Ellipse(head, 2.6, 2.9, Ramps::skin);
    canvas.Limb(head + Vec{-2.2, -0.4}, head + Vec{-1.8, 1.6}, 0.9, 0.8, Ramps::hair);
    canvas.Limb(head + Vec{-4.6, -2.0}, head + Vec{4.4, -2.0}, 0.7, 0.7, Ramps::straw);
    canvas.Ellipse(head + Vec{-0.2, -3.0}, 2.5, 1.8, Ramps::straw);
    canvas.Dot(static_cast<int>(std::floor(head.x + 1.2)), static_cast<int>(std::floor(head.y)), Ramps::outline);

    // Near arm up to the handle.
    DrawArm(canvas, shoulder, hand, 3.6, {Ramps::greenCloth, Ramps::skin, 1.4, 1.1});
    return canvas.Finished();
}
