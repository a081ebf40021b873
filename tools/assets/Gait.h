// Walking and galloping: where a foot is at each moment of a looping
// stride, and two-bone limbs reaching for it. Figures are laid out facing
// right; the canvas mirrors them for units walking left.
#pragma once

#include "tools/assets/SpriteCanvas.h"

#include <algorithm>

// One foot's loop. In stance the foot stays on the ground, so in the
// sprite it slides back by the unit's step per frame; in the swing it is
// lifted and carried forward again.
struct Stride {
    double framesPerCycle; // may be fractional: two cycles in 15 frames
    double stepPerFrame;   // the unit's movement per frame in pixels
    double stance;         // share of the cycle spent on the ground
    double lift;           // highest lift of the foot in the swing

    double Length() const { return stepPerFrame * stance * framesPerCycle; }
};

// Phase (0 to 1) of frame k for a foot that starts its stance at offset.
double StridePhase(const Stride& stride, int frame, double offset);
bool InStance(const Stride& stride, double phase);
// Foot position relative to the point on the ground below its hip.
Vec FootOffset(const Stride& stride, double phase);

// The height a body rides at in each frame of a cycle of the given number
// of frames: as high as the planted feet of that frame reach (reachAt), but
// rising or sinking by at most a pixel from one frame to the next.
template <typename ReachAt>
double RideHeight(int frame, int frames, ReachAt reachAt)
{
    double height = 1e9;
    for (int other = 0; other < frames; ++other) {
        const int apart = (frame - other + frames) % frames;
        height = std::min(height, reachAt(other) + std::min(apart, frames - apart));
    }
    return height;
}

// The middle joint of a two-bone limb from root to tip; bendForward puts
// the joint ahead of the line (a knee), otherwise behind it (an elbow, a hock).
Vec Joint(Vec root, Vec tip, double upper, double lower, bool bendForward);
// The tip pulled back within reach of the root.
Vec Reach(Vec root, Vec tip, double reach);

// Both legs of a two-legged walker in frame of a cycle of frames: the hip
// rides as high as the planted foot allows (RideHeight), the near leg starts its stance at frame 0, the far leg half
// a cycle later.
struct WalkPose {
    Vec hip;
    Vec nearKnee, nearAnkle;
    Vec farKnee, farAnkle;
};
WalkPose Walk(const Stride& stride, int frame, int frames, double hipX, double ankleY, double upper, double lower,
              bool kneesForward);
