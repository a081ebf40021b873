#include "platform/sound/SynthSoundOutput.h"

#include "platform/sound/AlsaSeqPorts.h"

#include <cstdio>
#include <initializer_list>
#include <utility>

namespace {

// The synthesizer renders a period at a time; the server keeps about 280 ms
// waiting, which keeps the sound whole while the machine is busy.
constexpr int PERIOD_FRAMES = 1024;
constexpr int BUFFER_FRAMES = 12 * PERIOD_FRAMES;
// Where the synthesizer's own drivers play, four periods wait.
constexpr int DRIVER_PERIOD_COUNT = 4;
constexpr int AUDIO_REALTIME_PRIORITY = 15;

// What the output's thread is asked to do.
constexpr unsigned OPEN = 1;
constexpr unsigned LOST = 2;
constexpr unsigned END = 4;

constexpr const char* RETRIED = "the music is silent, and tries again when the song starts again";

} // namespace

SynthSoundOutput::SynthSoundOutput(double sampleRate, Render render, Rendering rendering)
    : m_dSampleRate(sampleRate), m_render(std::move(render)), m_rendering(std::move(rendering))
{
}

SynthSoundOutput::~SynthSoundOutput()
{
    Close(0, [] {});
}

void SynthSoundOutput::Open(fluid_settings_t* settings)
{
    m_pSettings = settings;
    m_requests = OPEN;
    m_thread = std::thread(&SynthSoundOutput::Run, this);
}

void SynthSoundOutput::Retry() { Request(OPEN); }

void SynthSoundOutput::Request(unsigned request)
{
    m_requests.fetch_or(request);
    m_requests.notify_all();
}

void SynthSoundOutput::Close(int fadeFrames, const std::function<void()>& fadeRendered)
{
    m_bEnding = true;
    Request(END);
    if (m_thread.joinable())
        m_thread.join();
    if (m_pPulse) {
        m_pPulse->FadeOut(fadeFrames);
        m_pPulse.reset();
    }
    if (m_pDriver) {
        fadeRendered();
        delete_fluid_audio_driver(m_pDriver);
        m_pDriver = nullptr;
    }
}

void SynthSoundOutput::Run()
{
    while (!m_bEnding) {
        const unsigned requests = m_requests.exchange(0);
        if (requests & LOST)
            Lose();
        if ((requests & OPEN) && m_bSilent && !m_bEnding)
            OpenOutput();
        if (requests == 0)
            m_requests.wait(0);
    }
}

void SynthSoundOutput::OpenOutput()
{
    m_rendering(true);
    auto pulse = std::make_unique<PulsePlayback>(m_dSampleRate, PERIOD_FRAMES, BUFFER_FRAMES, m_render,
                                                 [this] { Request(LOST); });
    const PulsePlayback::Connection connection = pulse->Connect(m_bEnding);
    if (connection == PulsePlayback::Connection::Playing) {
        m_pPulse = std::move(pulse);
        m_bSilent = false;
        m_bSaid = false;
        return;
    }
    const std::string error = pulse->Error();
    pulse.reset();
    if (connection == PulsePlayback::Connection::Cancelled)
        return;
    // A server that does not answer would hold the drivers up too, where
    // they play through it.
    if (connection != PulsePlayback::Connection::NoAnswer && OpenDriver()) {
        m_bSilent = false;
        m_bSaid = false;
        return;
    }
    m_rendering(false);
    switch (connection) {
    case PulsePlayback::Connection::NoAnswer:
        Say("the sound server does not answer within " + std::to_string(PulsePlayback::CONNECT_PATIENCE.count()) +
            " s: " + RETRIED);
        break;
    case PulsePlayback::Connection::NoServer:
        Say(std::string("no audio output opens (no sound server and no sound card): ") + RETRIED);
        break;
    default:
        Say("no audio output opens (the sound server refuses the music: " + error + ", and no sound card): " +
            RETRIED);
        break;
    }
}

bool SynthSoundOutput::OpenDriver()
{
    fluid_settings_setint(m_pSettings, "audio.period-size", PERIOD_FRAMES);
    fluid_settings_setint(m_pSettings, "audio.periods", DRIVER_PERIOD_COUNT);
    // The driver's thread asks for real time as the stream's does, a step
    // above it, within what desktop systems grant.
    fluid_settings_setint(m_pSettings, "audio.realtime-prio", AUDIO_REALTIME_PRIORITY);
    SilenceAlsaErrors();
    for (const char* driver : {"alsa", "sdl2"}) {
        fluid_settings_setstr(m_pSettings, "audio.driver", driver);
        m_pDriver = new_fluid_audio_driver2(m_pSettings, &SynthSoundOutput::DriverCallback, this);
        if (m_pDriver)
            return true;
    }
    return false;
}

void SynthSoundOutput::Lose()
{
    // The client library's thread has ended with it: nothing renders.
    m_pPulse.reset();
    m_bSilent = true;
    m_rendering(false);
    Say(std::string("the sound server is gone: ") + RETRIED);
}

void SynthSoundOutput::Say(const std::string& why)
{
    if (m_bSaid)
        return;
    m_bSaid = true;
    std::fprintf(stderr, "Dovezi: %s\n", why.c_str());
}

int SynthSoundOutput::DriverCallback(void* self, int frames, int, float*[], int outputCount, float* outputs[])
{
    static_cast<SynthSoundOutput*>(self)->m_render(frames, outputs[0], outputs[outputCount > 1 ? 1 : 0]);
    return FLUID_OK;
}
