#include "tools/assets/Horse.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double upperLeg = 10.0;
constexpr double lowerLeg = 10.5;
constexpr double fetlockHeight = 2.0;
constexpr double restingHeight = 18.6; // leg root above the fetlock when standing

}

Horse::Horse(const HorseLook& look, const Stride& stride, const std::array<double, 4>& phases, int frame, int frames,
             Vec groundMiddle)
    : m_look(look)
{
    const double s = look.size;
    const std::array<double, 4> rootX = {-11.0 * s, -10.0 * s, 10.0 * s, 11.0 * s};
    const double reach = (upperLeg + lowerLeg) * s * 0.97;
    const auto footAt = [&](std::size_t leg, int k) { return FootOffset(stride, StridePhase(stride, k, -phases[leg])); };
    const auto reachAt = [&](int k) {
        double height = restingHeight * s;
        for (std::size_t leg = 0; leg < 4; ++leg)
            if (InStance(stride, StridePhase(stride, k, -phases[leg])))
                height = std::min(height, std::sqrt(reach * reach - footAt(leg, k).x * footAt(leg, k).x));
        return height;
    };
    const double height = RideHeight(frame, frames, reachAt);
    // Whole pixels, so that the body moves without reshaping.
    const double rootY = std::round(groundMiddle.y - fetlockHeight * s - height);
    m_centre = {groundMiddle.x, rootY - 4.0 * s};
    m_tailSwing = std::sin(2 * std::numbers::pi * frame / stride.framesPerCycle);

    for (std::size_t leg = 0; leg < 4; ++leg) {
        const bool fore = leg >= 2;
        const Vec root{groundMiddle.x + rootX[leg], rootY + (fore ? 0.0 : -1.0 * s)};
        const Vec foot = footAt(leg, frame);
        const Vec target{root.x + foot.x, groundMiddle.y - fetlockHeight * s + foot.y};
        const Vec fetlock = Reach(root, target, (upperLeg + lowerLeg) * s);
        m_legs[leg] = {root, Joint(root, fetlock, upperLeg * s, lowerLeg * s, fore), fetlock};
    }
}

void Horse::DrawLeg(SpriteCanvas& canvas, const Leg& leg, bool far) const
{
    const double s = m_look.size;
    const Ramp coat = far ? Dim(m_look.coat) : m_look.coat;
    canvas.Limb(leg.root, leg.joint, 3.0 * s, 1.6 * s, coat);
    canvas.Limb(leg.joint, leg.fetlock, 1.4 * s, 1.1 * s, coat);
    // Pastern and hoof, pointing forward along the ground.
    const Vec toe = leg.fetlock + Vec{1.6 * s, 1.6 * s};
    canvas.Limb(leg.fetlock, toe, 1.2 * s, 1.2 * s, far ? Dim(m_look.hoof) : m_look.hoof);
}

void Horse::DrawFarLegs(SpriteCanvas& canvas) const
{
    DrawLeg(canvas, m_legs[0], true);
    DrawLeg(canvas, m_legs[2], true);
}

void Horse::DrawNearLegs(SpriteCanvas& canvas) const
{
    DrawLeg(canvas, m_legs[1], false);
    DrawLeg(canvas, m_legs[3], false);
}

void Horse::DrawBody(SpriteCanvas& canvas) const
{
    const double s = m_look.size;
    // Tail, swishing with the stride.
    const Vec tailRoot = Body(-16.0, -4.0);
    const Vec tailMiddle = Body(-21.0, 1.0 + m_tailSwing);
    const Vec tailEnd = Body(-22.5 - m_tailSwing, 10.0);
    canvas.Limb(tailRoot, tailMiddle, 2.0 * s, 1.8 * s, m_look.mane);
    canvas.Limb(tailMiddle, tailEnd, 1.8 * s, 1.0 * s, m_look.mane);

    // Mane behind the neck's upper edge.
    canvas.Limb(Body(8.0, -8.0), Body(17.5, -19.0), 2.2 * s, 1.6 * s, m_look.mane);
    canvas.Limb(Body(10.0, -3.0), Body(18.0, -15.5), 5.0 * s, 3.2 * s, m_look.coat);
    canvas.Ellipse(Body(-9.5, -1.0), 8.0 * s, 7.0 * s, m_look.coat);
    canvas.Ellipse(Body(0.0, 0.0), 13.0 * s, 6.5 * s, m_look.coat);
    canvas.Ellipse(Body(10.0, -0.5), 6.5 * s, 7.0 * s, m_look.coat);
    // Head, muzzle down and forward, with an ear.
    canvas.Polygon({Body(16.0, -19.0), Body(17.0, -23.0), Body(18.8, -18.5)}, m_look.coat);
    canvas.Limb(Body(18.0, -16.5), Body(25.0, -9.5), 3.0 * s, 2.1 * s, m_look.coat);
    const Vec eye = Body(19.8, -15.5);
    canvas.Dot(static_cast<int>(std::floor(eye.x)), static_cast<int>(std::floor(eye.y)), Ramps::outline);
    const Vec nostril = Body(25.5, -9.5);
    canvas.Dot(static_cast<int>(std::floor(nostril.x)), static_cast<int>(std::floor(nostril.y)), m_look.coat.shadow);
}
