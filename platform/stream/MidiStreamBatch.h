// The events of one step of the stream service, taken down while the
// service's lock is held and sent to the device after it is released. Long
// messages are copied, so that nothing of a buffer is read once its step is
// over. The storage is kept from step to step.
#pragma once

#include "platform/stream/MidiStreamOutput.h"

#include <vector>

class MidiStreamBatch : public MidiStreamOutput {
public:
    void SendShort(DWORD message, std::int64_t when) override;
    void SendLong(const BYTE* data, DWORD length, std::int64_t when) override;

    bool IsEmpty() const { return m_events.empty(); }
    // Sends everything taken down, in order, and empties the batch.
    void SendTo(MidiStreamOutput& output);

private:
    struct Event {
        std::int64_t when;
        DWORD message;    // a short message, or the length of a long one
        std::size_t at;   // a long message's first byte in m_bytes
        bool isLong;
    };

    std::vector<Event> m_events;
    std::vector<BYTE> m_bytes;
};
