// The output devices a stream host offers, in device-id order.
#pragma once

#include "platform/WinApi.h"
#include "platform/stream/MidiStreamOutput.h"

#include <string>

class MidiStreamDevices {
public:
    virtual ~MidiStreamDevices() = default;

    virtual UINT Count() = 0;
    // The product name of device `id` (below Count).
    virtual std::string Name(UINT id) = 0;
    // The output of device `id` (below Count), opened on first use and kept
    // until the devices go; null when the device cannot be opened. One
    // stream at a time uses it.
    virtual MidiStreamOutput* Open(UINT id) = 0;
};
