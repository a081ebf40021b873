// A scout on a light bay horse galloping to the left: dark cap, blue
// tunic, a cloak flying behind and the reins in hand.
#include "tools/assets/Figure.h"
#include "tools/assets/Horse.h"
#include "tools/assets/UnitArt.h"

#include <cmath>
#include <numbers>

namespace {

constexpr int width = 74;
constexpr int height = 63;
constexpr int frames = 10;

const Stride stride{frames, 6.0, 0.4, 3.0};

}

IndexedImage DrawScoutFrame(int frame)
{
    SpriteCanvas canvas(width, height);
    canvas.SetMirrored(true);
    const Horse horse({Ramps::bayCoat, Ramps::hair, Ramps::hair}, stride, {0.0, 0.1, 0.45, 0.55}, frame, frames,
                      {36.0, 62.0});
    const double wave = std::sin(2 * std::numbers::pi * frame / frames);

    horse.DrawFarLegs(canvas);
    horse.DrawBody(canvas);

    const Vec seat = horse.Saddle();
    const Vec hip = seat + Vec{0.0, -1.0};
    const Vec shoulder = hip + Vec{2.5, -10.0};
    const Vec head = shoulder + Vec{1.0, -4.5};
    // Cloak streaming back from the shoulders.
    canvas.Polygon({shoulder + Vec{-1.0, -1.0}, shoulder + Vec{-9.0, 2.0 + wave}, shoulder + Vec{-11.0, 6.0 - wave},
                    hip + Vec{-2.0, -1.0}},
                   Ramps::redCloth);
    // Saddle cloth.
    canvas.Polygon({seat + Vec{-6.0, -0.5}, seat + Vec{6.0, -0.5}, seat + Vec{5.0, 6.0}, seat + Vec{-5.0, 6.0}},
                   Ramps::blueCloth);
    // Body and near leg.
    canvas.Polygon({shoulder + Vec{-3.0, -1.0}, shoulder + Vec{3.0, -1.0}, hip + Vec{3.5, 1.0}, hip + Vec{-3.5, 1.0}},
                   Ramps::blueCloth);
    canvas.Limb(hip + Vec{0.5, 0.5}, hip + Vec{6.5, 3.0}, 2.2, 1.8, Ramps::greyCoat);
    canvas.Limb(hip + Vec{6.5, 3.0}, hip + Vec{5.0, 10.0}, 1.7, 1.5, Ramps::leather);
    canvas.Limb(hip + Vec{5.0, 10.5}, hip + Vec{7.2, 11.0}, 1.2, 1.0, Ramps::leather);
    // Head with a leather cap.
    canvas.Ellipse(head, 2.8, 3.1, Ramps::skin);
    canvas.Ellipse(head + Vec{-0.7, -2.3}, 3.0, 1.7, Ramps::hair);
    canvas.Dot(static_cast<int>(std::floor(head.x + 1.3)), static_cast<int>(std::floor(head.y + 0.2)), Ramps::outline);
    // Arm forward to the reins, javelin along the horse's side.
    const Vec hand = shoulder + Vec{7.0, 5.0};
    DrawArm(canvas, shoulder, hand, 4.5, {Ramps::blueCloth, Ramps::skin, 1.5, 1.2});
    canvas.Line(hand, horse.Mouth(), Ramps::leather.shadow);

    horse.DrawNearLegs(canvas);
    return canvas.Finished();
}
