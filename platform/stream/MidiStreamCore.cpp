#include "platform/stream/MidiStreamCore.h"

#include <cstddef>

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace {

using Microseconds = MidiStreamCore::Microseconds;
constexpr Microseconds NEVER = MidiStreamCore::NEVER;
constexpr DWORD EVENT_TYPE_FLAGS = 0x40; // MEVT_F_CALLBACK in the type byte

Microseconds SaturatingAdd(Microseconds a, Microseconds b)
{
    if (b > 0 && a > NEVER - b)
        return NEVER;
    return a + b;
}

// Microseconds per tick as an exact fraction.
struct TickRate {
    std::uint64_t numerator;
    std::uint64_t denominator;
};

TickRate RateOf(DWORD division, DWORD tempo)
{
    if (division & 0x8000) {
        const std::uint64_t framesPerSecond = 256 - ((division >> 8) & 0xFF);
        const std::uint64_t ticksPerFrame = division & 0xFF;
        if (framesPerSecond == 29) // 29.97 = 30000 / 1001 frames per second
            return TickRate{1001000000, 30000 * ticksPerFrame};
        return TickRate{1000000, framesPerSecond * ticksPerFrame};
    }
    return TickRate{tempo, division};
}

// ticks * numerator / denominator rounded down, without overflow on the way
// and saturated at NEVER.
Microseconds TicksToMicroseconds(std::uint64_t ticks, TickRate rate)
{
    const std::uint64_t whole = ticks / rate.denominator;
    const std::uint64_t rest = ticks % rate.denominator;
    const auto limit = static_cast<std::uint64_t>(NEVER);
    if (rate.numerator != 0 && whole > limit / rate.numerator)
        return NEVER;
    const std::uint64_t fromWhole = whole * rate.numerator;
    const std::uint64_t fromRest = rest * rate.numerator / rate.denominator;
    if (fromWhole > limit - fromRest)
        return NEVER;
    return static_cast<Microseconds>(fromWhole + fromRest);
}

DWORD ReadDword(const MIDIHDR* header, DWORD offset)
{
    DWORD value;
    std::memcpy(&value, header->lpData + offset, sizeof(value));
    return value;
}

bool IsValidDivision(DWORD division)
{
    if (division == 0 || division > 0xFFFF)
        return false;
    return !(division & 0x8000) || (division & 0xFF) != 0;
}

} // namespace

bool MidiStreamCore::IsUsableHeader(const MIDIHDR* header, UINT headerSize)
{
    return header && headerSize >= offsetof(MIDIHDR, dwOffset) && (header->lpData || header->dwBufferLength == 0);
}

MMRESULT MidiStreamCore::Unprepare(MIDIHDR* header)
{
    if (!(header->dwFlags & MHDR_PREPARED))
        return MMSYSERR_NOERROR;
    if (header->dwFlags & MHDR_INQUEUE)
        return MIDIERR_STILLPLAYING;
    header->dwFlags &= ~static_cast<DWORD>(MHDR_PREPARED);
    return MMSYSERR_NOERROR;
}

MMRESULT MidiStreamCore::Queue(MIDIHDR* header, Microseconds now)
{
    if (!header)
        return MMSYSERR_INVALPARAM;
    if (!(header->dwFlags & MHDR_PREPARED))
        return MIDIERR_UNPREPARED;
    if ((header->dwFlags & MHDR_INQUEUE) || IsKnown(header))
        return MIDIERR_STILLPLAYING;
    if (header->dwBytesRecorded > header->dwBufferLength || header->dwBytesRecorded % 4 != 0 ||
        (!header->lpData && header->dwBytesRecorded != 0))
        return MMSYSERR_INVALPARAM;

    header->dwFlags = (header->dwFlags & ~static_cast<DWORD>(MHDR_DONE)) | MHDR_INQUEUE | MHDR_ISSTRM;
    header->lpNext = nullptr;
    if (m_pTail) {
        m_pTail->lpNext = header;
    } else {
        m_pHead = header;
        m_dwOffset = 0;
        if (m_bPlaying)
            m_floor = std::max(m_floor, now);
    }
    m_pTail = header;
    return MMSYSERR_NOERROR;
}

void MidiStreamCore::Restart(Microseconds now)
{
    if (m_bPlaying)
        return;
    const bool continues = m_continueFrom <= now && now - m_continueFrom <= CONTINUE_WITHIN;
    const Microseconds start = continues ? m_continueFrom : now;
    m_continueFrom = NEVER;
    m_origin = start - m_pausedAt;
    m_floor = std::max(m_floor, start);
    m_lastDue = start;
    m_bPlaying = true;
}

void MidiStreamCore::ContinueFrom(Microseconds end) { m_continueFrom = end; }

void MidiStreamCore::Pause(Microseconds now)
{
    if (!m_bPlaying)
        return;
    m_pausedAt = now - m_origin;
    m_bPlaying = false;
}

void MidiStreamCore::Stop()
{
    if (m_pHead) {
        if (m_pReturnTail)
            m_pReturnTail->lpNext = m_pHead;
        else
            m_pReturnHead = m_pHead;
        m_pReturnTail = m_pTail;
    }
    m_pHead = m_pTail = nullptr;
    m_dwOffset = 0;
    m_bPlaying = false;
    m_pausedAt = 0;
    m_tick = 0;
    m_anchorTick = 0;
    m_anchorTime = 0;
}

MIDIHDR* MidiStreamCore::TakeReturned()
{
    MIDIHDR* header = m_pReturnHead;
    if (!header)
        return nullptr;
    m_pReturnHead = header->lpNext;
    if (!m_pReturnHead)
        m_pReturnTail = nullptr;
    header->lpNext = nullptr;
    header->dwFlags = (header->dwFlags & ~static_cast<DWORD>(MHDR_INQUEUE)) | MHDR_DONE;
    return header;
}

MMRESULT MidiStreamCore::Property(BYTE* data, DWORD property)
{
    const bool set = (property & MIDIPROP_SET) != 0;
    const bool get = (property & MIDIPROP_GET) != 0;
    const bool tempo = (property & MIDIPROP_TEMPO) != 0;
    const bool division = (property & MIDIPROP_TIMEDIV) != 0;
    if (!data || set == get || tempo == division)
        return MMSYSERR_INVALPARAM;

    // Both records are a size followed by one value.
    DWORD record[2];
    std::memcpy(record, data, sizeof(record));
    if (record[0] != sizeof(record))
        return MMSYSERR_INVALPARAM;
    if (get) {
        record[1] = tempo ? m_dwTempo : m_dwDivision;
        std::memcpy(data, record, sizeof(record));
        return MMSYSERR_NOERROR;
    }
    if (division && !IsValidDivision(record[1]))
        return MMSYSERR_INVALPARAM;

    // The timeline so far keeps its times; the new rate counts from the
    // last event sent.
    MoveAnchorTo(m_tick, StreamTimeOfTick(m_tick));
    if (tempo)
        m_dwTempo = record[1];
    else
        m_dwDivision = record[1];
    return MMSYSERR_NOERROR;
}

MidiStreamCore::Microseconds MidiStreamCore::NextDue() const
{
    if (!m_bPlaying || !m_pHead)
        return NEVER;
    if (HeadFinished())
        return m_floor;
    return PeekEvent().when;
}

MidiStreamNotices MidiStreamCore::RunUntil(Microseconds now, MidiStreamOutput& output)
{
    MidiStreamNotices notices;
    while (m_bPlaying && m_pHead) {
        if (HeadFinished()) {
            FinishHead(notices);
            return notices;
        }
        const NextEvent event = PeekEvent();
        if (event.when > now)
            return notices;

        MIDIHDR* const header = m_pHead;
        const DWORD eventOffset = m_dwOffset;
        m_dwOffset += EVENT_HEAD_BYTES;
        const Microseconds streamTime = StreamTimeOfTick(event.tick);
        m_tick = event.tick;
        m_lastDue = event.when;
        Dispatch(event, output, streamTime);

        if (MEVT_EVENTTYPE(event.word) & EVENT_TYPE_FLAGS) {
            header->dwOffset = eventOffset;
            notices.Add(MOM_POSITIONCB, header);
            if (HeadFinished())
                FinishHead(notices);
            return notices;
        }
    }
    return notices;
}

MidiStreamCore::NextEvent MidiStreamCore::PeekEvent() const
{
    NextEvent event;
    event.delta = ReadDword(m_pHead, m_dwOffset);
    event.word = ReadDword(m_pHead, m_dwOffset + 8);
    event.tick = m_tick + event.delta;
    event.when = std::max(SaturatingAdd(m_origin, StreamTimeOfTick(event.tick)), m_floor);
    return event;
}

bool MidiStreamCore::HeadFinished() const
{
    return static_cast<std::uint64_t>(m_dwOffset) + EVENT_HEAD_BYTES > m_pHead->dwBytesRecorded;
}

void MidiStreamCore::FinishHead(MidiStreamNotices& notices)
{
    MIDIHDR* const header = m_pHead;
    m_pHead = header->lpNext;
    if (!m_pHead)
        m_pTail = nullptr;
    m_dwOffset = 0;
    header->lpNext = nullptr;
    header->dwFlags = (header->dwFlags & ~static_cast<DWORD>(MHDR_INQUEUE)) | MHDR_DONE;
    notices.Add(MOM_DONE, header);
}

void MidiStreamCore::Dispatch(const NextEvent& event, MidiStreamOutput& output, Microseconds streamTime)
{
    const DWORD type = MEVT_EVENTTYPE(event.word) & ~EVENT_TYPE_FLAGS;
    const DWORD parameter = MEVT_EVENTPARM(event.word);
    if (event.word & MEVT_F_LONG) {
        // The bytes follow the head, the next event starts at the length
        // rounded up to 4. A length beyond the recorded bytes ends the buffer
        // without sending anything.
        const DWORD available = m_pHead->dwBytesRecorded - m_dwOffset;
        if (parameter > available) {
            m_dwOffset = m_pHead->dwBytesRecorded;
            return;
        }
        if (type == MEVT_LONGMSG && parameter != 0)
            output.SendLong(reinterpret_cast<const BYTE*>(m_pHead->lpData) + m_dwOffset, parameter, event.when);
        m_dwOffset += std::min((parameter + 3) & ~3u, available);
        return;
    }
    switch (type) {
    case MEVT_SHORTMSG:
        output.SendShort(parameter, event.when);
        break;
    case MEVT_TEMPO:
        MoveAnchorTo(event.tick, streamTime);
        m_dwTempo = parameter;
        break;
    default:
        break;
    }
}

MidiStreamCore::Microseconds MidiStreamCore::StreamTimeOfTick(std::uint64_t tick) const
{
    return SaturatingAdd(m_anchorTime, TicksToMicroseconds(tick - m_anchorTick, RateOf(m_dwDivision, m_dwTempo)));
}

void MidiStreamCore::MoveAnchorTo(std::uint64_t tick, Microseconds streamTime)
{
    m_anchorTick = tick;
    m_anchorTime = streamTime;
}

bool MidiStreamCore::IsKnown(const MIDIHDR* header) const
{
    for (const MIDIHDR* list : {m_pHead, m_pReturnHead})
        for (const MIDIHDR* queued = list; queued; queued = queued->lpNext)
            if (queued == header)
                return true;
    return false;
}
