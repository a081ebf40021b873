// The Vozuzuvir Ezivuz running to the left: a tall plumed bird with a
// hooked beak and a fan of tail feathers, ridden by a masked herald in a
// violet robe who carries a pennant on a pole crowned with a golden disc.
#include "tools/assets/Gait.h"
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

    // Pennant pole held upright behind the rider, cloth streaming back.
    const Vec poleFoot = body + Vec{-3.0, -2.0};
    const Vec poleTop{poleFoot.x - 2.0, 3.5};
    canvas.Limb(poleFoot, poleTop, 0.6, 0.6, Ramps::wood);
    const double flutter = std::sin(cycle * 2);
    canvas.Polygon({poleTop + Vec{0.0, 2.0}, poleTop + Vec{-11.0, 3.5 + flutter}, poleTop + Vec{-8.0, 6.0},
                    poleTop + Vec{-11.0, 8.5 - flutter}, poleTop + Vec{0.0, 9.0}},
                   Ramps::beak);
    canvas.Ellipse(poleTop, 2.0, 2.0, Ramps::bronze, Finish::Shiny);

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

    // The rider: violet robe over the bird's back, golden mask.
    const Vec seat = body + Vec{0.0, -6.0};
    const Vec rider = seat + Vec{0.5, -7.5};
    canvas.Polygon({rider + Vec{-2.5, -1.0}, rider + Vec{2.5, -1.0}, seat + Vec{5.0, 3.0}, seat + Vec{-5.0, 3.0}},
                   Ramps::purpleCloth);
    canvas.Ellipse(rider + Vec{0.5, -3.2}, 2.5, 2.7, Ramps::purpleCloth);
    canvas.Ellipse(rider + Vec{1.6, -3.0}, 1.5, 2.0, Ramps::bronze, Finish::Shiny);
    const Vec hand = rider + Vec{-3.0, 3.5};
    canvas.Limb(rider + Vec{0.0, 0.5}, hand, 1.2, 1.0, Ramps::purpleCloth);

    DrawLeg(canvas, pose.hip, pose.nearKnee, pose.nearAnkle, false);
    return canvas.Finished();
}
