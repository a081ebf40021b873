#include "music/MidiDeviceChoice.h"

#include "platform/MidiOut.h"

namespace {

bool IsNamed(MidiOut& midiOut, UINT id, const std::string& name)
{
    std::string deviceName;
    return midiOut.GetDevName(id, deviceName) == MMSYSERR_NOERROR && deviceName == name;
}

} // namespace

UINT FindMidiDevice(MidiOut& midiOut, UINT number, const std::string& name)
{
    if (name.empty() || IsNamed(midiOut, number, name))
        return number;
    const UINT count = midiOut.GetNumDevs();
    for (UINT id = 0; id < count; ++id) {
        if (IsNamed(midiOut, id, name))
            return id;
    }
    return number;
}
