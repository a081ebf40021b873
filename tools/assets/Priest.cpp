// A priest walking to the right in a long pale robe with a violet stole
// and hood, leaning on a tall staff crowned with a golden ring.
#include "tools/assets/Figure.h"
#include "tools/assets/UnitArt.h"

#include <cmath>
#include <algorithm>
#include <numbers>
#include <utility>

namespace {

constexpr int width = 48;
constexpr int height = 53;
constexpr int frames = 15;
constexpr double ground = 52.0;
constexpr double thigh = 7.5;
constexpr double shin = 7.5;
constexpr double ankleHeight = 1.3;

const Stride stride{frames / 2.0, 2.0, 0.6, 2.0};

}

IndexedImage DrawPriestFrame(int frame)
{
    SpriteCanvas canvas(width, height);
    const WalkPose pose = Walk(stride, frame, frames, 20.0, ground - ankleHeight, thigh, shin, true);
    const Vec hip = pose.hip;
    const Vec shoulder = hip + Vec{1.0, -12.0};
    const Vec head = shoulder + Vec{1.2, -4.6};
    const double swing = std::sin(2 * std::numbers::pi * frame / stride.framesPerCycle);

    // Staff held forward in the far hand, swinging a little with the walk.
    const Vec hand = shoulder + Vec{8.0 + 1.5 * swing, 3.0};
    const Vec staffTop = hand + Vec{1.0, -14.5};
    const Vec staffFoot = hand + Vec{-0.8, 20.0};
    canvas.Limb(staffFoot, staffTop, 0.8, 0.8, Ramps::wood);
    canvas.Ellipse(staffTop + Vec{0.0, -2.5}, 3.0, 3.0, Ramps::bronze, Finish::Shiny);
    canvas.Ellipse(staffTop + Vec{0.0, -2.5}, 1.2, 1.2, Ramps::wood);
    DrawArm(canvas, shoulder + Vec{-0.5, 0.5}, hand, 5.0, {Dim(Ramps::robe), Dim(Ramps::robe), 1.8, 1.4});

    // Feet peeping out under the hem.
    for (const auto& [ankle, far] : {std::pair{pose.farAnkle, true}, std::pair{pose.nearAnkle, false}})
        canvas.Limb(ankle + Vec{-0.3, 0.3}, ankle + Vec{2.4, 0.4}, 1.1, 1.0, far ? Dim(Ramps::leather) : Ramps::leather);

    // Robe: narrow at the shoulders, flaring to a hem that follows the knees.
    const double hemFront = std::max(pose.nearAnkle.x, pose.farAnkle.x) + 2.5;
    const double hemBack = std::min(pose.nearAnkle.x, pose.farAnkle.x) - 3.5;
    canvas.Polygon({shoulder + Vec{-3.0, -1.5}, shoulder + Vec{3.0, -1.5}, hip + Vec{4.0, 0.0}, {hemFront, ground - 3.0},
                    {hemBack, ground - 2.0}, hip + Vec{-4.5, 0.0}},
                   Ramps::robe);
    canvas.Limb(shoulder + Vec{2.0, 0.0}, {hemFront - 2.5, ground - 6.0}, 1.0, 1.2, Ramps::purpleCloth);
    canvas.Limb(hip + Vec{-3.5, -1.0}, hip + Vec{4.0, -1.0}, 0.7, 0.7, Ramps::bronze);

    // Head under a violet hood.
    canvas.Ellipse(head + Vec{-0.8, -0.3}, 3.8, 3.9, Ramps::purpleCloth);
    canvas.Ellipse(head + Vec{0.9, 0.4}, 2.3, 2.8, Ramps::skin);
    canvas.Dot(static_cast<int>(std::floor(head.x + 1.8)), static_cast<int>(std::floor(head.y)), Ramps::outline);
    canvas.Limb(head + Vec{1.0, 2.8}, head + Vec{0.6, 4.2}, 1.0, 0.6, Ramps::robe);

    // Near arm resting on the stole.
    const Vec nearHand = shoulder + Vec{3.0 - 1.0 * swing, 8.0};
    DrawArm(canvas, shoulder, nearHand, 4.5, {Ramps::robe, Ramps::robe, 1.9, 1.5});
    canvas.Ellipse(nearHand + Vec{0.6, 0.4}, 1.2, 1.2, Ramps::skin);
    return canvas.Finished();
}
