// The Vozuzuvir Ezivuz running to the left: a tall plumed bird with a
// hooked beak and a fan of tail feathers, ridden by a masked herald in a
// violet robe who carries a pennant on a pole crowned with a golden disc.
#include "tools/assets/Figure.h"
#include "tools/assets/UnitArt.h"

#include <cmath>
#include <numbers>

namespace {

constexpr int width = 52;
constexpr int height = 52;
constexpr int frames = 10;
constexpr double ground = 51.0;
constexpr double thigh = 9.0;
constexpr double shank = 10.0;
constexpr double ankleHeight = 1.2;

const Stride stride{frames, 5.0, 0.45, 4.0};

void DrawLeg(SpriteCanvas& canvas, Vec hip, Vec joint, Vec ankle, bool far)
{
    const Ramp leg = far ? Dim(Ramps::beak) : Ramps::beak;
    canvas.Limb(hip, joint, 2.6, 1.2, far ? Dim(Ramps::plumage) : Ramps::plumage);
    canvas.Limb(joint, ankle, 1.1, 0.9, leg);
    // Three toes spread along the ground.
    canvas.Limb(ankle, ankle + Vec{3.5, 0.6}, 0.8, 0.6, leg);
    canvas.Limb(ankle, ankle + Vec{-2.0, 0.6}, 0.7, 0.5, leg);
}

}

IndexedImage DrawVozuzuvirFrame(int frame)
{
    SpriteCanvas canvas(width, height);
    canvas.SetMirrored(true);
    const double cycle = 2 * std::numbers::pi * frame / frames;
    const WalkPose pose = Walk(stride, frame, frames, 22.0, ground - ankleHeight, thigh, shank, false);
    const Vec body = pose.hip + Vec{1.0, -3.0};

    const double flutter = std::sin(cycle * 2);
    const Vec seat = body + Vec{-0.5, -5.5};
    const Vec shoulder = seat + Vec{1.0, -7.0};
    const Vec riderHead = shoulder + Vec{0.8, -3.6};
    const Vec grip = shoulder + Vec{4.8, 3.0};

    DrawLeg(canvas, pose.hip, pose.farKnee, pose.farAnkle, true);

    // Tail fan, body, neck and head.
    canvas.Limb(body + Vec{-6.0, -1.0}, body + Vec{-14.0, -9.0 + flutter}, 2.2, 1.2, Ramps::purpleCloth);
    canvas.Limb(body + Vec{-6.0, 0.0}, body + Vec{-15.5, -4.0}, 2.2, 1.2, Ramps::plumage);
    canvas.Limb(body + Vec{-6.0, 1.0}, body + Vec{-14.0, 2.5 - flutter}, 2.0, 1.0, Ramps::purpleCloth);
    canvas.Ellipse(body, 9.0, 6.5, Ramps::plumage);
    const double nod = 0.8 * std::sin(cycle * 2);
    const Vec head = body + Vec{11.5, -16.0 + nod};
    canvas.Limb(body + Vec{5.0, -2.0}, head + Vec{-1.0, 1.0}, 3.6, 2.0, Ramps::plumage);
    canvas.Ellipse(head, 3.2, 2.8, Ramps::plumage);
    canvas.Polygon({head + Vec{2.0, -1.5}, head + Vec{7.5, 0.0}, head + Vec{6.5, 2.0}, head + Vec{2.0, 1.5}},
                   Ramps::beak);
    canvas.Limb(head + Vec{-1.0, -2.0}, head + Vec{-4.5, -6.0 + nod}, 1.0, 0.5, Ramps::purpleCloth);
    canvas.Limb(head + Vec{0.0, -2.5}, head + Vec{-1.5, -7.0 + nod}, 0.9, 0.5, Ramps::purpleCloth);
    canvas.Dot(static_cast<int>(std::floor(head.x + 1.0)), static_cast<int>(std::floor(head.y - 0.5)),
               Ramps::outline);

    // Pennant pole behind the rider, in the near hand, crowned with a golden disc, the
    // cloth streaming back.
    const Vec poleTop{grip.x - 0.3, 3.5};
    canvas.Limb(grip + Vec{0.4, 6.0}, poleTop, 0.6, 0.6, Ramps::wood);
    canvas.Polygon({poleTop + Vec{0.0, 1.5}, poleTop + Vec{-11.0, 2.5 + flutter}, poleTop + Vec{-8.5, 4.5},
                    poleTop + Vec{-11.0, 6.5 - flutter}, poleTop + Vec{0.0, 6.5}},
                   Ramps::beak);
    canvas.Ellipse(poleTop, 2.0, 2.0, Ramps::bronze, Finish::Shiny);
    // The rider: violet robe falling over the bird's back, hood and golden mask.
    canvas.Polygon({shoulder + Vec{-3.0, -1.0}, shoulder + Vec{2.5, -1.0}, seat + Vec{4.0, 1.5},
                    seat + Vec{-4.5, 1.5}},
                   Ramps::purpleCloth);
    canvas.Limb(seat + Vec{1.0, 0.0}, seat + Vec{3.0, 5.5}, 2.2, 1.7, Ramps::purpleCloth);
    canvas.Limb(seat + Vec{3.0, 6.0}, seat + Vec{5.0, 6.5}, 1.1, 0.9, Ramps::bronze);
    canvas.Ellipse(riderHead + Vec{-0.6, -0.3}, 3.0, 3.2, Ramps::purpleCloth);
    canvas.Ellipse(riderHead + Vec{1.0, 0.3}, 1.7, 2.2, Ramps::bronze, Finish::Shiny);
    canvas.Dot(static_cast<int>(std::floor(riderHead.x + 1.6)), static_cast<int>(std::floor(riderHead.y)),
               Ramps::outline);

    DrawArm(canvas, shoulder, grip, 3.4, {Ramps::purpleCloth, Ramps::bronze, 1.3, 1.0});

    DrawLeg(canvas, pose.hip, pose.nearKnee, pose.nearAnkle, false);
    return canvas.Finished();
}
