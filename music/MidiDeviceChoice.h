// Which output device a stored choice means now. Device numbers follow the
// order in which the system finds its devices, and that order changes when
// a device is plugged into another socket or the machine restarts; a
// device's name stays. The choice is kept as a number and a name, and the
// name comes first.
#pragma once

#include "platform/WinApi.h"

#include <string>

class MidiOut;

// The device named exactly `name`: `number` itself when that device bears
// the name (so of two devices that share a name, the chosen one is kept),
// otherwise the lowest-numbered device that bears it. `number` when the
// name is empty or no device bears it.
UINT FindMidiDevice(MidiOut& midiOut, UINT number, const std::string& name);
