// Where a moment of the stream clock falls in the synthesizer's stream of
// samples. The audio output asks for each block of samples when it has room
// for it, so the earliest moment at which a block was asked for, for its
// place in the stream, ties the two clocks together: a later ask only means
// a thread that woke late, or a stall through which the server played on,
// and moves nothing; an earlier one means that the server reads ahead or
// that its clock runs fast, and the tie follows it at once. A server that
// stops through an underrun instead and then goes on where it stopped puts
// every later sample later: once every ask of the last two seconds came
// that much late, the tie follows that too, so that the music keeps to the
// song's own clock and only what was due in the gap is lost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

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
    // How long every ask must have come late, and by how much at least,
    // before the tie takes the server to have stopped.
    static constexpr std::int64_t LATE_SPAN_US = 2'000'000;
    static constexpr std::int64_t LATE_BY_US = 4'000;

    struct Ask {
        std::int64_t now;
        std::int64_t origin;
    };

    double m_dSampleRate;
    // Stream-clock time of sample 0.
    std::int64_t m_origin = 0;
    bool m_bSeen = false;
    // The asks of the last LATE_SPAN_US and more, oldest first.
    std::deque<Ask> m_recent;
};
