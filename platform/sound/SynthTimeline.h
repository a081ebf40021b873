// Where a moment of the stream clock falls in the synthesizer's stream of
// samples. The audio output asks for each block of samples when it has room
// for it, and its server plays the samples on at its own pace, through an
// underrun too (what comes too late for its place is dropped). So the
// earliest moment at which a block was ever asked for, for its place in the
// stream, ties the two clocks together: a later ask only means a thread that
// woke late, or a stall, and moves nothing; an earlier one means that the
// server reads ahead or that its clock runs fast, and the tie follows it.
#pragma once

#include <cstdint>

class SynthTimeline {
public:
    explicit SynthTimeline(double sampleRate) : m_dSampleRate(sampleRate) {}

    // The block that starts at sample `position` is asked for at `now`
    // (microseconds of the stream clock).
    void OnBlock(std::int64_t now, std::uint64_t position);
    // The sample at which the moment `when` falls; the first block must have
    // been seen.
    std::int64_t PositionOf(std::int64_t when) const;

private:
    double m_dSampleRate;
    // Stream-clock time of sample 0.
    std::int64_t m_origin = 0;
    bool m_bSeen = false;
};
