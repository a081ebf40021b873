// Drives the stream core with buffers of any bytes and any sequence of
// calls, on a time line that only moves forward, and checks that it never
// sends an event before its time or out of order, never sends one while
// paused, and hands every buffer back exactly once.
//
// Input: the first two bytes are the time division, then commands of one
// byte each, some followed by their operands.
#include "platform/stream/MidiStreamCore.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool AtEnd() const { return m_at >= m_size; }
    std::uint32_t Take(int bytes)
    {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes && m_at < m_size; ++i)
            value = (value << 8) | m_data[m_at++];
        return value;
    }
    std::size_t TakeInto(std::uint8_t* out, std::size_t count)
    {
        const std::size_t taken = count < m_size - m_at ? count : m_size - m_at;
        if (taken != 0)
            std::memcpy(out, m_data + m_at, taken);
        m_at += taken;
        return taken;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

class CheckingOutput : public MidiStreamOutput {
public:
    void SendShort(DWORD, std::int64_t when) override { Sent(when); }
    void SendLong(const BYTE* data, DWORD length, std::int64_t when) override
    {
        volatile BYTE sink = 0;
        for (DWORD i = 0; i < length; ++i)
            sink = static_cast<BYTE>(sink ^ data[i]);
        Sent(when);
    }

    std::int64_t m_now = 0;
    std::int64_t m_last = 0;
    bool m_bPlaying = false;

private:
    void Sent(std::int64_t when)
    {
        Check(m_bPlaying && when <= m_now && when >= m_last);
        m_last = when;
    }
};

struct Buffer {
    MIDIHDR header{};
    std::vector<DWORD> words;
    bool queued = false;
};

void HandBack(std::array<Buffer, 6>& buffers, MIDIHDR* header)
{
    for (Buffer& buffer : buffers) {
        if (&buffer.header == header) {
            Check(buffer.queued && (header->dwFlags & MHDR_DONE) && !(header->dwFlags & MHDR_INQUEUE));
            buffer.queued = false;
            return;
        }
    }
    Check(false);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Reader input(data, size);
    MidiStreamCore core;
    CheckingOutput output;
    std::array<Buffer, 6> buffers;
    MIDIPROPTIMEDIV division{sizeof(division), input.Take(2)};
    core.Property(reinterpret_cast<BYTE*>(&division), MIDIPROP_SET | MIDIPROP_TIMEDIV);

    while (!input.AtEnd()) {
        const std::uint32_t command = input.Take(1);
        Buffer& buffer = buffers[command % buffers.size()];
        switch ((command >> 4) % 6) {
        case 0: { // queue a buffer of the next bytes
            if (buffer.queued)
                break;
            const std::uint32_t bytes = input.Take(2) % 2048;
            buffer.words.assign((bytes + 3) / 4, 0);
            const std::size_t taken = input.TakeInto(reinterpret_cast<std::uint8_t*>(buffer.words.data()), bytes);
            buffer.header = MIDIHDR{};
            buffer.header.lpData = reinterpret_cast<LPSTR>(buffer.words.data());
            buffer.header.dwBufferLength = static_cast<DWORD>(buffer.words.size() * 4);
            buffer.header.dwBytesRecorded = static_cast<DWORD>(taken & ~std::size_t{3});
            buffer.header.dwFlags = MHDR_PREPARED;
            buffer.queued = core.Queue(&buffer.header, output.m_now) == MMSYSERR_NOERROR;
            break;
        }
        case 1:
            core.Restart(output.m_now);
            output.m_bPlaying = true;
            break;
        case 2:
            core.Pause(output.m_now);
            output.m_bPlaying = false;
            break;
        case 3:
            core.Stop();
            output.m_bPlaying = false;
            while (MIDIHDR* header = core.TakeReturned())
                HandBack(buffers, header);
            break;
        case 4: { // move the time line and run
            output.m_now += static_cast<std::int64_t>(input.Take(3));
            for (;;) {
                const MidiStreamNotices notices = core.RunUntil(output.m_now, output);
                if (notices.count == 0)
                    break;
                for (int i = 0; i < notices.count; ++i)
                    if (notices.items[i].message == MOM_DONE)
                        HandBack(buffers, notices.items[i].header);
            }
            Check(core.NextDue() > output.m_now);
            break;
        }
        default: { // set the tempo
            MIDIPROPTEMPO tempo{sizeof(tempo), input.Take(3)};
            core.Property(reinterpret_cast<BYTE*>(&tempo), MIDIPROP_SET | MIDIPROP_TEMPO);
            break;
        }
        }
    }
    return 0;
}
