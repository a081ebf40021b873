// Stream buffers built event by event, and an output that takes down what
// reaches it, for the stream service's tests.
#pragma once

#include "platform/WinApi.h"
#include "platform/stream/MidiStreamOutput.h"

#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

struct SentEvent {
    std::int64_t when;
    DWORD message;            // a short message; 0 for a long one
    std::vector<BYTE> bytes;  // a long message's bytes

    bool operator==(const SentEvent&) const = default;
};

class RecordingOutput : public MidiStreamOutput {
public:
    void SendShort(DWORD message, std::int64_t when) override
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_events.push_back(SentEvent{when, message, {}});
    }
    void SendLong(const BYTE* data, DWORD length, std::int64_t when) override
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_events.push_back(SentEvent{when, 0, std::vector<BYTE>(data, data + length)});
    }
    std::vector<SentEvent> Events() const
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_events;
    }
    void Clear()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_events.clear();
    }

private:
    mutable std::mutex m_mutex;
    std::vector<SentEvent> m_events;
};

// A prepared stream buffer that owns its data.
class EventBuffer {
public:
    EventBuffer& Short(DWORD delta, DWORD message) { return Event(delta, (DWORD{MEVT_SHORTMSG} << 24) | message); }
    EventBuffer& Tempo(DWORD delta, DWORD microsecondsPerQuarter)
    {
        return Event(delta, (DWORD{MEVT_TEMPO} << 24) | microsecondsPerQuarter);
    }
    EventBuffer& Nop(DWORD delta) { return Event(delta, DWORD{MEVT_NOP} << 24); }
    EventBuffer& Event(DWORD delta, DWORD word)
    {
        m_words.insert(m_words.end(), {delta, 0, word});
        return *this;
    }
    // A long event of type `type` (MEVT_LONGMSG, MEVT_COMMENT) with its
    // bytes padded to a multiple of 4.
    EventBuffer& Long(DWORD delta, const std::vector<BYTE>& bytes, DWORD type = MEVT_LONGMSG)
    {
        Event(delta, MEVT_F_LONG | (type << 24) | static_cast<DWORD>(bytes.size()));
        std::vector<DWORD> padded((bytes.size() + 3) / 4, 0);
        if (!bytes.empty())
            std::memcpy(padded.data(), bytes.data(), bytes.size());
        m_words.insert(m_words.end(), padded.begin(), padded.end());
        return *this;
    }
    EventBuffer& Word(DWORD word)
    {
        m_words.push_back(word);
        return *this;
    }

    // The header, prepared, with every byte recorded and room for `spare`
    // more bytes.
    MIDIHDR* Header(DWORD spare = 0)
    {
        m_words.resize(m_words.size() + spare / 4);
        m_header = MIDIHDR{};
        m_header.lpData = reinterpret_cast<LPSTR>(m_words.data());
        m_header.dwBufferLength = static_cast<DWORD>(m_words.size() * 4);
        m_header.dwBytesRecorded = m_header.dwBufferLength - spare;
        m_header.dwFlags = MHDR_PREPARED;
        return &m_header;
    }

private:
    std::vector<DWORD> m_words;
    MIDIHDR m_header{};
};

constexpr DWORD NoteOn(DWORD key, DWORD velocity = 100)
{
    return 0x90 | (key << 8) | (velocity << 16);
}
