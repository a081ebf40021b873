// A chariot racing to the left: a white horse on the pole, a wooden car on
// one big six-spoked wheel, and an archer drawing his bow in the car.
#include "tools/assets/Figure.h"
#include "tools/assets/Horse.h"
#include "tools/assets/UnitArt.h"

#include <cmath>
#include <numbers>

namespace {

constexpr int width = 116;
constexpr int height = 87;
constexpr int frames = 10;
constexpr double ground = 86.0;
constexpr double step = 6.0;
// Half a turn per cycle brings the six spokes back onto themselves.
constexpr double wheelRadius = frames * step / std::numbers::pi;
// The archer is drawn larger than a foot soldier, in scale with the car.
constexpr double k = 1.3;

const Stride stride{frames, step, 0.4, 3.5};

void DrawWheel(SpriteCanvas& canvas, Vec hub, int frame)
{
    canvas.Ellipse(hub, wheelRadius, wheelRadius, Ramps::wood);
    canvas.Ellipse(hub, wheelRadius - 2.4, wheelRadius - 2.4, Dim(Ramps::leather));
    const double turn = frame * step / wheelRadius;
    for (int spoke = 0; spoke < 3; ++spoke) {
        const double angle = turn + spoke * std::numbers::pi / 3;
        canvas.Limb(Polar(hub, angle, wheelRadius - 1.5), Polar(hub, angle, -(wheelRadius - 1.5)), 1.1, 1.1,
                    Ramps::wood);
    }
    canvas.Ellipse(hub, 3.2, 3.2, Ramps::bronze, Finish::Shiny);
}

void DrawArcher(SpriteCanvas& canvas, Vec feet, int frame)
{
    const double sway = 0.5 * std::sin(2 * std::numbers::pi * frame / frames);
    const Vec hip = feet + Vec{0.0, -13.0 * k + sway};
    const Vec shoulder = hip + Vec{1.5, -11.0} * k;
    const Vec head = shoulder + Vec{1.0, -4.8} * k;
    // Far arm holds the bow out in front; near arm draws the string.
    const Vec bowHand = shoulder + Vec{10.0, -1.0} * k;
    const Vec drawHand = shoulder + Vec{1.0, -0.5} * k;
    DrawArm(canvas, shoulder, bowHand, 5.0 * k, {Dim(Ramps::greenCloth), Dim(Ramps::skin), 1.5 * k, 1.2 * k});
    const Vec bowTop = bowHand + Vec{-2.5, -10.0} * k;
    const Vec bowBottom = bowHand + Vec{-2.5, 10.0} * k;
    canvas.Line(bowTop, drawHand, Ramps::robe.light);
    canvas.Line(drawHand, bowBottom, Ramps::robe.light);
    const Vec upper = bowHand + Vec{0.5, -5.0} * k;
    const Vec lower = bowHand + Vec{0.5, 5.0} * k;
    canvas.Limb(bowTop, upper, 0.8, 1.0, Ramps::wood);
    canvas.Limb(upper, bowHand, 1.0, 1.1, Ramps::wood);
    canvas.Limb(bowHand, lower, 1.1, 1.0, Ramps::wood);
    canvas.Limb(lower, bowBottom, 1.0, 0.8, Ramps::wood);
    canvas.Limb(drawHand + Vec{-1.0, 0.0}, bowHand + Vec{4.0, 0.0} * k, 0.5, 0.5, Ramps::wood);
    canvas.Limb(bowHand + Vec{3.0, 0.0} * k, bowHand + Vec{6.0, 0.0} * k, 1.2, 0.3, Ramps::steel, Finish::Shiny);

    canvas.Polygon({shoulder + Vec{-3.5, -1.0} * k, shoulder + Vec{3.0, -1.0} * k, hip + Vec{4.0, 3.0} * k,
                    hip + Vec{-4.0, 3.0} * k},
                   Ramps::greenCloth);
    canvas.Limb(hip + Vec{-3.8, 0.0} * k, hip + Vec{3.8, 0.0} * k, 1.0 * k, 1.0 * k, Ramps::leather);
    canvas.Ellipse(head, 2.9 * k, 3.2 * k, Ramps::skin);
    canvas.Ellipse(head + Vec{-0.7, -1.5} * k, 3.1 * k, 2.1 * k, Ramps::bronze, Finish::Shiny);
    canvas.Limb(head + Vec{-3.0, -1.0} * k, head + Vec{-3.5, 2.5} * k, 1.0 * k, 0.8 * k, Ramps::hair);
    canvas.Dot(static_cast<int>(std::floor(head.x + 1.6 * k)), static_cast<int>(std::floor(head.y)), Ramps::outline);
    const Vec elbow = drawHand + Vec{-5.0, 1.5} * k;
    canvas.Limb(shoulder, elbow, 1.6 * k, 1.4 * k, Ramps::greenCloth);
    canvas.Limb(elbow, drawHand, 1.4 * k, 1.2 * k, Ramps::skin);
}

}

IndexedImage DrawChariotFrame(int frame)
{
    SpriteCanvas canvas(width, height);
    canvas.SetMirrored(true);
    const Horse horse({Ramps::greyCoat, Ramps::robe, Ramps::hair, 1.3}, stride, {0.0, 0.1, 0.45, 0.55}, frame, frames,
                      {79.0, ground});
    const Vec hub{24.0, ground - wheelRadius};
    const Vec floor = hub + Vec{0.0, -2.0};

    horse.DrawFarLegs(canvas);
    // Pole from under the car to the yoke, passing behind the horse.
    canvas.Limb(floor + Vec{12.0, 0.0}, horse.Body(6.0, 0.0), 1.4, 1.2, Ramps::wood);
    horse.DrawBody(canvas);
    canvas.Limb(horse.Withers() + Vec{-3.5, 0.5}, horse.Withers() + Vec{3.5, 0.5}, 1.5, 1.5, Ramps::wood);
    canvas.Limb(horse.Withers() + Vec{-2.0, 1.0}, horse.Breast() + Vec{1.0, -1.0}, 1.1, 1.1, Ramps::redCloth);

    DrawArcher(canvas, floor + Vec{-5.0, -3.0}, frame);
    // The car: a curved front screen over the floor.
    canvas.Polygon({floor + Vec{-20.0, 0.0}, floor + Vec{16.0, 0.0}, floor + Vec{18.0, -14.0},
                    floor + Vec{12.0, -24.0}, floor + Vec{6.0, -18.0}, floor + Vec{-20.0, -17.0}},
                   Ramps::redCloth);
    canvas.Limb(floor + Vec{-20.0, -17.0}, floor + Vec{6.0, -18.0}, 1.2, 1.2, Ramps::bronze);
    canvas.Limb(floor + Vec{-20.0, 0.0}, floor + Vec{16.0, 0.0}, 1.3, 1.3, Ramps::bronze);
    canvas.Ellipse(floor + Vec{11.0, -12.0}, 3.0, 3.0, Ramps::bronze, Finish::Shiny);
    DrawWheel(canvas, hub, frame);

    horse.DrawNearLegs(canvas);
    return canvas.Finished();
}
