// Where a moment of the stream clock falls in the synthesizer's stream of
// samples. The audio output asks for each block of samples when it has room
// for it, so the earliest moment at which a block was asked for, for its
// place in the stream, ties the two clocks together: a later ask only means
// a thread that woke late. While the output fills its buffers the tie moves;
// once it has placed a message it only creeps, a small step a block, so that
// the music keeps its timing while the tie follows a sound card whose clock
// drifts from the system's.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class SynthTimeline {
public:
    explicit SynthTimeline(double sampleRate) : m_dSampleRate(sampleRate) {}

    // The block that starts at sample `position` is asked for at `now`
    // (microseconds of the stream clock).
    void OnBlock(std::int64_t now, std::uint64_t position);
    // The sample at which the moment `when` falls; the first block must have
    // been seen.
    std::int64_t PositionOf(std::int64_t when);

private:
    static constexpr std::size_t WINDOW = 256;
    // The most the tie moves a block once placing has begun: 2 µs a block
    // of about 23 ms, less than a tenth of a millisecond a second.
    static constexpr std::int64_t CREEP_US = 2;

    double m_dSampleRate;
    // Stream-clock time of sample 0 as each recent block saw it.
    std::array<std::int64_t, WINDOW> m_origins{};
    std::size_t m_nSeen = 0;
    std::int64_t m_origin = 0;
    bool m_bPlacing = false;
};
