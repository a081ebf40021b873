// A cataphract riding to the left: horse and rider in scale armour, a
// plumed conical helmet and a long lance levelled past the horse's head.
#include "tools/assets/Figure.h"
#include "tools/assets/Horse.h"
#include "tools/assets/UnitArt.h"

#include <cmath>

namespace {

constexpr int width = 90;
constexpr int height = 63;
constexpr int frames = 10;

const Stride stride{frames, 6.0, 0.4, 2.5};

void DrawBarding(SpriteCanvas& canvas, const Horse& horse)
{
    const double s = horse.Size();
    // Scale coat over neck, chest, barrel and quarters, ending above the legs.
    canvas.Limb(horse.Body(10.0, -4.0), horse.Body(16.5, -13.5), 5.3 * s, 3.4 * s, Ramps::steel);
    canvas.Ellipse(horse.Body(-9.5, -1.5), 8.3 * s, 6.6 * s, Ramps::steel);
    canvas.Ellipse(horse.Body(0.0, -0.5), 13.3 * s, 6.3 * s, Ramps::steel);
    canvas.Ellipse(horse.Body(10.0, -1.0), 6.8 * s, 6.6 * s, Ramps::steel);
    canvas.Scales(Ramps::steel, horse.Body(0.0, 0.0));
    // Bronze trim along the lower edge and a face plate.
    canvas.Limb(horse.Body(-16.0, 3.0), horse.Body(16.0, 3.5), 0.8 * s, 0.8 * s, Ramps::bronze);
    canvas.Limb(horse.Body(18.5, -15.5), horse.Body(23.5, -10.5), 1.6 * s, 1.2 * s, Ramps::steel, Finish::Shiny);
}

}

IndexedImage DrawCataphractFrame(int frame)
{
    SpriteCanvas canvas(width, height);
    canvas.SetMirrored(true);
    const Horse horse({Ramps::darkCoat, Ramps::hair, Ramps::hair}, stride, {0.0, 0.3, 0.3, 0.6}, frame, frames, {34.0, 62.0});

    const Vec seat = horse.Saddle();
    const Vec hip = seat + Vec{0.0, -1.5};
    const Vec shoulder = hip + Vec{1.5, -10.5};
    const Vec head = shoulder + Vec{0.8, -4.8};

    // Lance, couched under the arm, behind the horse's head.
    const double lanceAngle = 0.1;
    const Vec grip = shoulder + Vec{5.0, 5.0};
    canvas.Limb(Polar(grip, lanceAngle, -20.0), Polar(grip, lanceAngle, 38.0), 0.8, 0.7, Ramps::wood);
    canvas.Limb(Polar(grip, lanceAngle, 37.0), Polar(grip, lanceAngle, 44.0), 1.3, 0.3, Ramps::steel, Finish::Shiny);
    canvas.Polygon({Polar(grip, lanceAngle, 32.0), Polar(grip, lanceAngle, 36.0) + Vec{0.0, -4.5},
                    Polar(grip, lanceAngle, 28.0) + Vec{0.0, -3.0}},
                   Ramps::redCloth);

    horse.DrawFarLegs(canvas);
    horse.DrawBody(canvas);
    DrawBarding(canvas, horse);

    // Rider: a red cloak behind, bronze scale shirt, mailed leg, helmet with a plume.
    canvas.Polygon({shoulder + Vec{-2.0, -1.0}, shoulder + Vec{-7.0, 3.0}, hip + Vec{-6.0, 2.0}, hip + Vec{-2.0, 0.0}},
                   Ramps::redCloth);
    canvas.Polygon({shoulder + Vec{-3.5, -1.0}, shoulder + Vec{3.0, -1.0}, hip + Vec{4.0, 1.0}, hip + Vec{-4.0, 1.0}},
                   Ramps::bronze);
    canvas.Scales(Ramps::bronze, hip);
    canvas.Limb(hip + Vec{-3.8, 0.5}, hip + Vec{3.8, 0.5}, 0.9, 0.9, Ramps::leather);
    canvas.Limb(hip + Vec{0.5, 0.5}, hip + Vec{6.5, 3.5}, 2.3, 1.9, Ramps::leather);
    canvas.Limb(hip + Vec{6.5, 3.5}, hip + Vec{5.5, 10.5}, 1.8, 1.5, Ramps::steel);
    canvas.Limb(hip + Vec{5.5, 11.0}, hip + Vec{7.8, 11.5}, 1.2, 1.0, Ramps::leather);
    canvas.Ellipse(head, 2.8, 3.1, Ramps::skin);
    canvas.Polygon({head + Vec{-3.3, -0.6}, head + Vec{3.0, -0.6}, head + Vec{0.0, -6.2}}, Ramps::steel);
    canvas.Limb(head + Vec{-3.2, -0.3}, head + Vec{-3.0, 2.8}, 1.1, 0.9, Ramps::steel);
    canvas.Limb(head + Vec{0.0, -6.0}, head + Vec{-4.0, -8.5}, 1.0, 0.6, Ramps::redCloth);
    canvas.Dot(static_cast<int>(std::floor(head.x + 1.3)), static_cast<int>(std::floor(head.y)), Ramps::outline);
    // Arm holding the lance.
    DrawArm(canvas, shoulder, grip, 4.5, {Ramps::bronze, Ramps::leather, 1.7, 1.3});

    horse.DrawNearLegs(canvas);
    return canvas.Finished();
}
