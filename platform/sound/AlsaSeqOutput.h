// A MIDI device on an ALSA sequencer port: our own client, connected to the
// port, sends every message directly, at once.
#pragma once

#include "platform/sound/AlsaSeqPorts.h"
#include "platform/stream/MidiStreamOutput.h"

class AlsaSeqOutput : public MidiStreamOutput {
public:
    AlsaSeqOutput() = default;
    ~AlsaSeqOutput() override;

    AlsaSeqOutput(const AlsaSeqOutput&) = delete;
    AlsaSeqOutput& operator=(const AlsaSeqOutput&) = delete;

    // Opens our client and connects it to `port`; false on failure.
    bool Open(const AlsaSeqPort& port);

    void SendShort(DWORD message, std::int64_t when) override;
    void SendLong(const BYTE* data, DWORD length, std::int64_t when) override;

private:
    void Deliver(snd_seq_event_t& event);

    snd_seq_t* m_pSequencer = nullptr;
    snd_midi_event_t* m_pEncoder = nullptr;
    int m_nPort = -1;
};
