// The software synthesizer behind the "Software Synthesizer" device: a
// FluidSynth synthesizer with a General MIDI soundfont, fed the stream's
// short and long messages. Live playback adds an audio driver to it; the
// record mode renders it into a file.
#pragma once

#include "platform/WinApi.h"

#include <fluidsynth.h>

#include <string>
#include <vector>

constexpr const char* SOFTWARE_SYNTH_NAME = "Software Synthesizer";
constexpr const char* DEFAULT_SOUNDFONT = "/usr/share/sounds/sf2/default-GM.sf2";

class MidiStreamSynth {
public:
    MidiStreamSynth() = default;
    ~MidiStreamSynth();

    MidiStreamSynth(const MidiStreamSynth&) = delete;
    MidiStreamSynth& operator=(const MidiStreamSynth&) = delete;

    // True when a soundfont can be read at `path`.
    static bool SoundfontExists(const std::string& path);

    // Makes the synthesizer at `sampleRate` and loads the soundfont; false
    // when any step fails. FluidSynth's own messages are silenced.
    bool Load(const std::string& soundfont, double sampleRate);

    // A channel message (status | data1 << 8 | data2 << 16); a system reset
    // (0xFF); anything else is ignored.
    void SendShort(DWORD message);
    // A system-exclusive message as stored, whole or in pieces: the pieces
    // from 0xF0 to 0xF7 are put together and given to the synthesizer.
    void SendLong(const BYTE* data, DWORD length);

    fluid_settings_t* Settings() const { return m_pSettings; }
    fluid_synth_t* Synth() const { return m_pSynth; }

private:
    fluid_settings_t* m_pSettings = nullptr;
    fluid_synth_t* m_pSynth = nullptr;
    std::vector<BYTE> m_sysex;
};
