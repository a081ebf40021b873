#include "platform/stream/MidiStreamBatch.h"

void MidiStreamBatch::SendShort(DWORD message, std::int64_t when)
{
    m_events.push_back(Event{when, message, 0, false});
}

void MidiStreamBatch::SendLong(const BYTE* data, DWORD length, std::int64_t when)
{
    m_events.push_back(Event{when, length, m_bytes.size(), true});
    m_bytes.insert(m_bytes.end(), data, data + length);
}

void MidiStreamBatch::SendTo(MidiStreamOutput& output)
{
    for (const Event& event : m_events) {
        if (event.isLong)
            output.SendLong(m_bytes.data() + event.at, event.message, event.when);
        else
            output.SendShort(event.message, event.when);
    }
    m_events.clear();
    m_bytes.clear();
}
