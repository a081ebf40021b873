#include "platform/stream/MidiStreamOutput.h"

#include <initializer_list>

namespace {

constexpr DWORD CONTROL_CHANGE = 0xB0;
constexpr DWORD SUSTAIN_PEDAL = 64;
constexpr DWORD ALL_SOUND_OFF = 120;
constexpr DWORD RESET_ALL_CONTROLLERS = 121;
constexpr DWORD ALL_NOTES_OFF = 123;

// Each controller with the value 0, in this order, on every channel.
void SendControllers(MidiStreamOutput& output, std::initializer_list<DWORD> controllers, std::int64_t when)
{
    for (DWORD channel = 0; channel < 16; ++channel)
        for (const DWORD controller : controllers)
            output.SendShort((CONTROL_CHANGE | channel) | (controller << 8), when);
}

} // namespace

void MidiStreamOutput::Silence(std::int64_t when) { SendSilence(*this, when); }

void SendSilence(MidiStreamOutput& output, std::int64_t when)
{
    SendControllers(output, {ALL_SOUND_OFF, SUSTAIN_PEDAL, RESET_ALL_CONTROLLERS, ALL_NOTES_OFF}, when);
}

void ReleaseNotes(MidiStreamOutput& output, std::int64_t when)
{
    SendControllers(output, {SUSTAIN_PEDAL, ALL_NOTES_OFF}, when);
}

std::size_t ShortMessageLength(unsigned int status)
{
    if (status < 0x80)
        return 0;
    if (status < 0xF0)
        return (status & 0xE0) == 0xC0 ? 2 : 3;
    switch (status) {
    case 0xF1:
    case 0xF3:
        return 2;
    case 0xF2:
        return 3;
    case 0xF6:
        return 1;
    default:
        return status >= 0xF8 ? 1 : 0;
    }
}
