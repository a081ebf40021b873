#include "tools/assets/Gait.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

double StridePhase(const Stride& stride, int frame, double offset)
{
    const double phase = frame / stride.framesPerCycle + offset;
    return phase - std::floor(phase);
}

bool InStance(const Stride& stride, double phase) { return phase < stride.stance; }

Vec FootOffset(const Stride& stride, double phase)
{
    const double half = stride.Length() / 2;
    if (InStance(stride, phase))
        return {half - stride.Length() * phase / stride.stance, 0};
    const double u = (phase - stride.stance) / (1 - stride.stance);
    const double eased = u * u * (3 - 2 * u);
    return {-half + stride.Length() * eased, -stride.lift * std::sin(std::numbers::pi * u)};
}

Vec Joint(Vec root, Vec tip, double upper, double lower, bool bendForward)
{
    const Vec along = tip - root;
    const double distance = std::clamp(Length(along), std::abs(upper - lower) + 1e-6, upper + lower - 1e-6);
    const double base = std::atan2(along.y, along.x);
    const double bend = std::acos(std::clamp((upper * upper + distance * distance - lower * lower) /
                                                 (2 * upper * distance),
                                             -1.0, 1.0));
    // Screen y grows downwards: for a limb hanging down, a forward joint
    // turns the upper bone anticlockwise on screen.
    return Polar(root, bendForward ? base - bend : base + bend, upper);
}

Vec Reach(Vec root, Vec tip, double reach)
{
    const Vec along = tip - root;
    const double distance = Length(along);
    return distance <= reach ? tip : root + along * (reach / distance);
}

WalkPose Walk(const Stride& stride, int frame, int frames, double hipX, double ankleY, double upper, double lower,
              bool kneesForward)
{
    const double reach = (upper + lower) * 0.97;
    const auto feetAt = [&](int k) {
        const double nearPhase = StridePhase(stride, k, 0.0);
        const double farPhase = StridePhase(stride, k, 0.5);
        return std::array{std::pair{nearPhase, FootOffset(stride, nearPhase)},
                          std::pair{farPhase, FootOffset(stride, farPhase)}};
    };
    const auto reachAt = [&](int k) {
        double height = reach;
        for (const auto& [phase, foot] : feetAt(k))
            if (InStance(stride, phase))
                height = std::min(height, std::sqrt(reach * reach - foot.x * foot.x));
        return height;
    };
    const auto feet = feetAt(frame);
    const Vec nearFoot = feet[0].second;
    const Vec farFoot = feet[1].second;

    WalkPose pose;
    pose.hip = {hipX, std::round(ankleY - RideHeight(frame, frames, reachAt))};
    pose.nearAnkle = Reach(pose.hip, {hipX + nearFoot.x, ankleY + nearFoot.y}, upper + lower);
    pose.farAnkle = Reach(pose.hip, {hipX + farFoot.x, ankleY + farFoot.y}, upper + lower);
    pose.nearKnee = Joint(pose.hip, pose.nearAnkle, upper, lower, kneesForward);
    pose.farKnee = Joint(pose.hip, pose.farAnkle, upper, lower, kneesForward);
    return pose;
}
