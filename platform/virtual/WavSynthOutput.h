// The software synthesizer of the record mode: every message is placed at
// its due time in a WAV file (44.1 kHz, 16-bit stereo), rendered in floating
// point up to each event, so that the same run gives the same file.
#pragma once

#include "platform/stream/MidiStreamOutput.h"
#include "platform/stream/MidiStreamSynth.h"
#include "platform/virtual/WavFile.h"

#include <string>
#include <vector>

class WavSynthOutput : public MidiStreamOutput {
public:
    static constexpr std::uint32_t SAMPLE_RATE = 44100;

    // Loads the soundfont and creates the file; false when either fails.
    bool Open(const std::string& soundfont, const std::string& path);

    void SendShort(DWORD message, std::int64_t when) override;
    void SendLong(const BYTE* data, DWORD length, std::int64_t when) override;
    // Renders the sound up to `when` (microseconds) and closes the file;
    // false when the file could not be written whole.
    bool FinishAt(std::int64_t when);

private:
    void RenderTo(std::int64_t when);

    MidiStreamSynth m_synth;
    WavFile m_file{SAMPLE_RATE};
    std::vector<float> m_left;
    std::vector<float> m_right;
};
