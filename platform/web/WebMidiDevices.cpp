#include "platform/web/WebMidiDevices.h"

#include "platform/web/WebBridge.h"

#include <cstdlib>

namespace {

double Milliseconds(std::int64_t microseconds) { return static_cast<double>(microseconds) / 1000.0; }

}

std::size_t ShortMessageLength(DWORD message)
{
    const BYTE status = static_cast<BYTE>(message & 0xFF);
    if (status < 0x80 || status == 0xF0 || status == 0xF7)
        return 0;
    if (status < 0xF0) {
        const BYTE kind = status & 0xF0;
        return kind == 0xC0 || kind == 0xD0 ? 2 : 3;
    }
    switch (status) {
    case 0xF1:
    case 0xF3:
        return 2;
    case 0xF2:
        return 3;
    default:
        return 1;
    }
}

void WebMidiPort::SendShort(DWORD message, std::int64_t when)
{
    const std::size_t length = ShortMessageLength(message);
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
