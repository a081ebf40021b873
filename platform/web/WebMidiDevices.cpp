#include "platform/web/WebMidiDevices.h"

#include "platform/web/WebBridge.h"

#include <cstdlib>

namespace {

double Milliseconds(std::int64_t microseconds) { return static_cast<double>(microseconds) / 1000.0; }

}

void WebMidiPort::SendShort(DWORD message, std::int64_t when)
{
    const std::size_t length = ShortMessageLength(message & 0xFF);
    if (length == 0)
        return;
    const BYTE bytes[3] = {static_cast<BYTE>(message), static_cast<BYTE>(message >> 8), static_cast<BYTE>(message >> 16)};
    web_midi_send(m_nDevice, bytes, length, Milliseconds(when));
}

void WebMidiPort::SendLong(const BYTE* data, DWORD length, std::int64_t when)
{
    if (length > 0)
        web_midi_send(m_nDevice, data, length, Milliseconds(when));
}

UINT WebMidiDevices::Count() { return static_cast<UINT>(web_midi_device_count()); }

std::string WebMidiDevices::Name(UINT id)
{
    char* name = web_midi_device_name(static_cast<int>(id));
    std::string text = name != nullptr ? name : "";
    std::free(name);
    return text;
}

MidiStreamOutput* WebMidiDevices::Open(UINT id)
{
    if (id >= Count())
        return nullptr;
    auto& port = m_ports[id];
    if (!port)
        port = std::make_unique<WebMidiPort>(static_cast<int>(id));
    return port.get();
}
