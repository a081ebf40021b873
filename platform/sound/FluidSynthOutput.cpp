#include "platform/sound/FluidSynthOutput.h"

#include <algorithm>
#include <chrono>

namespace {

// A message is rendered this long after its time on the stream clock: more
// than the stream can be late in sending it (a round that continues the one
// before starts from the window's thread), plus one period, so that its
// sample has not been rendered yet when it arrives.
constexpr std::int64_t RENDER_DELAY_US = 150'000;
// A note that would start later than this after its own sample is left out.
constexpr std::int64_t LATE_NOTE_FRAMES = static_cast<std::int64_t>(FluidSynthOutput::SAMPLE_RATE * 0.02);
// The sound fades over this long when it stops, and what is heard falls to
// silence over END_FADE_FRAMES when the device ends.
constexpr int FADE_FRAMES = static_cast<int>(FluidSynthOutput::SAMPLE_RATE * 0.03);
constexpr int END_FADE_FRAMES = static_cast<int>(FluidSynthOutput::SAMPLE_RATE * 0.04);
// What a driver still holds is heard within this, closing included.
constexpr auto CLOSE_PATIENCE = std::chrono::milliseconds(400);

bool IsNoteOn(DWORD message) { return (message & 0xF0) == 0x90 && ((message >> 16) & 0x7F) != 0; }

} // namespace

FluidSynthOutput::FluidSynthOutput(const MidiStreamClock& clock)
    : m_clock(clock),
      m_output(
          SAMPLE_RATE, [this](int frames, float* left, float* right) { Render(frames, left, right); },
          [this](bool rendering) { OnRendering(rendering); })
{
}

FluidSynthOutput::~FluidSynthOutput()
{
    m_output.Close(END_FADE_FRAMES, [this] { FadeRendered(); });
}

bool FluidSynthOutput::Open(const std::string& soundfont)
{
    if (!m_synth.Load(soundfont, SAMPLE_RATE))
        return false;
    m_output.Open(m_synth.Settings());
    return true;
}

void FluidSynthOutput::SendShort(DWORD message, std::int64_t when)
{
    Enqueue(TimedEvent{when, message, {}, false});
}

void FluidSynthOutput::SendLong(const BYTE* data, DWORD length, std::int64_t when)
{
    Enqueue(TimedEvent{when, 0, std::vector<BYTE>(data, data + length), false});
}

void FluidSynthOutput::Silence(std::int64_t when) { Enqueue(TimedEvent{when, 0, {}, true}); }

void FluidSynthOutput::Enqueue(TimedEvent event)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bSilent)
        ApplyUnrendered(event);
    else
        m_incoming.push_back(std::move(event));
}

void FluidSynthOutput::OnRendering(bool rendering)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_bSilent = !rendering;
    if (rendering)
        return;
    // What waited is applied now, and the next sound starts afresh.
    for (const TimedEvent& event : m_pending)
        ApplyUnrendered(event);
    for (const TimedEvent& event : m_incoming)
        ApplyUnrendered(event);
    m_pending.clear();
    m_incoming.clear();
    fluid_synth_all_sounds_off(m_synth.Synth(), -1);
    m_timeline = SynthTimeline{SAMPLE_RATE};
    m_position = 0;
    m_gain = 1.0f;
    m_nFadeLeft = 0;
    m_bSilenceAfterFade = false;
}

void FluidSynthOutput::ApplyUnrendered(const TimedEvent& event)
{
    if (event.bSilence)
        fluid_synth_system_reset(m_synth.Synth());
    else if (event.bytes.size() != 0 || !IsNoteOn(event.message))
        Apply(event);
}

void FluidSynthOutput::FadeRendered()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_bClosing = true;
    m_faded.wait_for(lock, CLOSE_PATIENCE, [this] { return m_bClosed; });
}

void FluidSynthOutput::Render(int frames, float* left, float* right)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_arrived.swap(m_incoming);
        m_bClosingSeen = m_bClosing;
    }
    m_timeline.OnBlock(m_clock.Now(), m_position);
    for (TimedEvent& event : m_arrived)
        m_pending.push_back(std::move(event));
    m_arrived.clear();
    // The end of the device fades out from here.
    if (m_bClosingSeen && m_nFadeLeft == 0 && m_gain > 0.0f)
        StartFade();

    // Every message at its own sample. One that comes too late for it, after
    // a stall or a fade, is given at once, unless it starts a note: that is
    // left out, so that late notes never crowd together.
    int done = 0;
    std::size_t taken = 0;
    while (taken < m_pending.size() && done < frames) {
        if (m_nFadeLeft > 0) {
            done = RenderPart(done, std::min(frames, done + m_nFadeLeft), left, right);
            continue;
        }
        const TimedEvent& event = m_pending[taken];
        const std::int64_t at = m_timeline.PositionOf(event.when + RENDER_DELAY_US) -
                                static_cast<std::int64_t>(m_position);
        if (at >= frames)
            break;
        if (at > done)
            done = RenderPart(done, static_cast<int>(at), left, right);
        ++taken;
        if (event.bSilence)
            StartFade();
        else if (done - at <= LATE_NOTE_FRAMES || event.bytes.size() != 0 || !IsNoteOn(event.message))
            Apply(event);
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(taken));
    while (done < frames)
        done = RenderPart(done, m_nFadeLeft > 0 ? std::min(frames, done + m_nFadeLeft) : frames, left, right);
    m_position += static_cast<std::uint64_t>(frames);

    if (m_bClosingSeen && m_gain == 0.0f) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_bClosed = true;
        m_faded.notify_all();
    }
}

void FluidSynthOutput::StartFade()
{
    m_nFadeLeft = FADE_FRAMES;
    m_bSilenceAfterFade = true;
}

int FluidSynthOutput::RenderPart(int from, int to, float* left, float* right)
{
    if (to <= from)
        return from;
    // The outputs used here have no effect channels: reverb and chorus mix
    // into the dry pair.
    float* dry[2] = {left + from, right + from};
    float* effects[4] = {dry[0], dry[1], dry[0], dry[1]};
    fluid_synth_process(m_synth.Synth(), to - from, 4, effects, 2, dry);
    const float step = 1.0f / static_cast<float>(FADE_FRAMES);
    for (int frame = 0; frame < to - from && (m_nFadeLeft > 0 || m_gain != 1.0f); ++frame) {
        if (m_nFadeLeft > 0) {
            m_gain = std::max(0.0f, m_gain - step);
            --m_nFadeLeft;
        }
        dry[0][frame] *= m_gain;
        if (dry[1] != dry[0])
            dry[1][frame] *= m_gain;
    }
    if (m_nFadeLeft == 0 && m_bSilenceAfterFade) {
        // Faded out: every voice and the reverb's tail end, then the next
        // sound starts at full level, unless the device is closing.
        m_bSilenceAfterFade = false;
        fluid_synth_system_reset(m_synth.Synth());
        if (!m_bClosingSeen)
            m_gain = 1.0f;
    }
    return to;
}

void FluidSynthOutput::Apply(const TimedEvent& event)
{
    if (event.bytes.empty())
        m_synth.SendShort(event.message);
    else
        m_synth.SendLong(event.bytes.data(), static_cast<DWORD>(event.bytes.size()));
}
