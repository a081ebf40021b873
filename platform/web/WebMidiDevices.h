// The page's MIDI outputs: the software synthesizer first, then every MIDI
// output the browser grants, as the page lists them. Events go to the page
// with the time they are due, so that an output that keeps time plays them
// exactly then.
#pragma once

#include "platform/stream/MidiStreamDevices.h"

#include <map>
#include <memory>

class WebMidiPort : public MidiStreamOutput {
public:
    explicit WebMidiPort(int device) : m_nDevice(device) {}

    void SendShort(DWORD message, std::int64_t when) override;
    void SendLong(const BYTE* data, DWORD length, std::int64_t when) override;

private:
    int m_nDevice;
};

class WebMidiDevices : public MidiStreamDevices {
public:
    UINT Count() override;
    std::string Name(UINT id) override;
    MidiStreamOutput* Open(UINT id) override;

private:
    std::map<UINT, std::unique_ptr<WebMidiPort>> m_ports;
};
