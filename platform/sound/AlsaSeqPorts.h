// The ALSA sequencer's ports that accept output from another client: the
// MIDI devices after the software synthesizer. A machine without the
// sequencer (no /dev/snd/seq) has none.
#pragma once

#include <alsa/asoundlib.h>

#include <string>
#include <vector>

struct AlsaSeqPort {
    int client;
    int port;
    // "client name: port name"
    std::string name;
};

// Turns off libasound's own printing of errors, for the whole process.
void SilenceAlsaErrors();

// Opens the sequencer for output, with libasound's errors silenced; null
// when there is no sequencer.
snd_seq_t* OpenAlsaSeq();

// The ports in client and port order.
std::vector<AlsaSeqPort> ListAlsaSeqPorts();
