// A legionary marching to the right: crested helmet, segmented armour over
// a red tunic, a tall curved shield on the near arm and a spear slanted
// forward in the far hand.
#include "tools/assets/Figure.h"
#include "tools/assets/UnitArt.h"

#include <cmath>

namespace {

constexpr int width = 64;
constexpr int height = 44;
constexpr int frames = 10;
constexpr double ground = 43.0;
constexpr double thigh = 7.5;
constexpr double shin = 7.5;
constexpr double ankleHeight = 1.5;

const Stride stride{frames, 2.0, 0.6, 2.5};

const LimbLook nearLeg{Ramps::skin, Ramps::skin, 2.0, 1.3};
const LimbLook farLeg{Dim(Ramps::skin), Dim(Ramps::skin), 2.0, 1.3};

}

IndexedImage DrawLegionFrame(int frame)
{
    SpriteCanvas canvas(width, height);
    const WalkPose pose = Walk(stride, frame, frames, 22.0, ground - ankleHeight, thigh, shin, true);
    const Vec hip = pose.hip;
    const Vec shoulder = hip + Vec{1.5, -10.0};
    const Vec neck = shoulder + Vec{0.5, -2.0};
    const Vec head = neck + Vec{1.2, -3.2};

    // Spear behind the body, held forward in the far hand.
    const Vec hand = shoulder + Vec{6.5, 2.5};
    const double spearAngle = -0.62;
    const Vec spearButt = Polar(hand, spearAngle, -19.0);
    const Vec spearTip = Polar(hand, spearAngle, 28.0);
    canvas.Limb(spearButt, Polar(hand, spearAngle, 24.0), 0.7, 0.7, Ramps::wood);
    canvas.Limb(Polar(hand, spearAngle, 23.0), spearTip, 1.2, 0.3, Ramps::steel, Finish::Shiny);

    // Far arm reaching for the spear.
    const Vec farShoulder = shoulder + Vec{-1.0, 0.5};
    DrawArm(canvas, farShoulder, hand, 4.5, {Ramps::redCloth, Dim(Ramps::skin), 1.6, 1.2});

    DrawLeg(canvas, hip, pose.farKnee, pose.farAnkle, farLeg, Dim(Ramps::leather), 2.6);

    // Tunic skirt and armoured body.
    canvas.Polygon({hip + Vec{-4.5, -2.0}, hip + Vec{4.0, -2.0}, hip + Vec{5.5, 4.5}, hip + Vec{-5.0, 4.5}},
                   Ramps::redCloth);
    canvas.Polygon({shoulder + Vec{-4.0, -1.0}, shoulder + Vec{3.5, -1.0}, hip + Vec{4.2, 0.5}, hip + Vec{-4.2, 0.5}},
                   Ramps::steel);
    for (int band = 0; band < 3; ++band) {
        const int y = static_cast<int>(std::floor(shoulder.y + 2.5 + band * 3.0));
        canvas.Band(static_cast<int>(hip.x) - 4, y, static_cast<int>(hip.x) + 4, y, Ramps::steel.shadow);
    }
    canvas.Limb(hip + Vec{-4.0, 1.0}, hip + Vec{4.2, 1.0}, 1.0, 1.0, Ramps::leather);

    DrawLeg(canvas, hip, pose.nearKnee, pose.nearAnkle, nearLeg, Ramps::leather, 2.6);

    // Head: face, helmet with neck and cheek guards and a red crest.
    canvas.Ellipse(head, 3.2, 3.4, Ramps::skin);
    canvas.Ellipse(head + Vec{-0.9, -1.9}, 3.6, 2.3, Ramps::steel, Finish::Shiny);
    canvas.Limb(head + Vec{-3.4, -0.5}, head + Vec{-3.9, 2.2}, 1.0, 0.8, Ramps::steel);
    canvas.Limb(head + Vec{-1.4, -0.2}, head + Vec{-1.3, 2.2}, 0.7, 0.6, Ramps::steel);
    canvas.Limb(head + Vec{-2.0, -1.0}, head + Vec{2.6, -1.0}, 0.5, 0.5, Ramps::bronze);
    canvas.Polygon({head + Vec{-4.2, -2.8}, head + Vec{-2.6, -6.0}, head + Vec{1.0, -6.6}, head + Vec{1.8, -3.6},
                    head + Vec{-1.0, -4.0}},
                   Ramps::redCloth);
    canvas.Dot(static_cast<int>(std::floor(head.x + 1.4)), static_cast<int>(std::floor(head.y + 0.2)),
               Ramps::outline);

    // Tall curved shield on the near arm, boss in the middle.
    const Vec shieldCentre = hip + Vec{6.5, -2.0};
    canvas.Polygon({shieldCentre + Vec{-3.5, -8.0}, shieldCentre + Vec{3.5, -7.2}, shieldCentre + Vec{3.5, 7.2},
                    shieldCentre + Vec{-3.5, 8.0}},
                   Ramps::redCloth);
    canvas.Limb(shieldCentre + Vec{-3.5, -8.0}, shieldCentre + Vec{3.5, -7.2}, 0.6, 0.6, Ramps::bronze);
    canvas.Limb(shieldCentre + Vec{-3.5, 8.0}, shieldCentre + Vec{3.5, 7.2}, 0.6, 0.6, Ramps::bronze);
    canvas.Limb(shieldCentre + Vec{0.0, -6.0}, shieldCentre + Vec{0.0, 6.0}, 0.55, 0.55, Ramps::bronze);
    canvas.Ellipse(shieldCentre, 1.9, 1.9, Ramps::bronze, Finish::Shiny);

    return canvas.Finished();
}
