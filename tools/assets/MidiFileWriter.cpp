#include "tools/assets/MidiFileWriter.h"

#include "tools/assets/ByteWriter.h"
#include "tools/assets/ScoreNotation.h"

#include <algorithm>
#include <stdexcept>
#include <tuple>

namespace {

constexpr int reverbSend = 40;

class TrackWriter {
public:
    void Meta(int tick, std::uint8_t type, const std::vector<std::uint8_t>& data)
    {
        Delta(tick);
        m_out.Byte(0xFF);
        m_out.Byte(type);
        Quantity(static_cast<std::uint32_t>(data.size()));
        m_out.Bytes(data);
        m_status = 0;
    }
    void Text(int tick, std::uint8_t type, const std::string& text)
    {
        Meta(tick, type, std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    void Channel(int tick, std::uint8_t status, std::initializer_list<int> data)
    {
        Delta(tick);
        if (status != m_status)
            m_out.Byte(status);
        m_status = status;
        for (const int value : data)
            m_out.Byte(static_cast<std::uint32_t>(value));
    }
    std::vector<std::uint8_t> Chunk()
    {
        ByteWriter chunk;
        chunk.Bytes("MTrk");
        chunk.Be32(static_cast<std::uint32_t>(m_out.Size()));
        chunk.Bytes(m_out.Take());
        return chunk.Take();
    }

private:
    void Delta(int tick)
    {
        Quantity(static_cast<std::uint32_t>(tick - m_tick));
        m_tick = tick;
    }
    void Quantity(std::uint32_t value)
    {
        std::uint8_t groups[5];
        int count = 0;
        do {
            groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
            value >>= 7;
        } while (value != 0);
        while (count > 1)
            m_out.Byte(groups[--count] | 0x80u);
        m_out.Byte(groups[0]);
    }

    ByteWriter m_out;
    int m_tick = 0;
    std::uint8_t m_status = 0;
};

std::vector<std::uint8_t> ConductorTrack(const MidiSong& song, int end)
{
    TrackWriter track;
    track.Text(0, 0x03, song.title);
    track.Meta(0, 0x54, {0x60, 0, 0, 0, 0}); // 30 frames per second, at zero
    track.Meta(0, 0x58, {4, 2, 24, 8});      // 4/4, a click per quarter
    track.Meta(0, 0x59, {static_cast<std::uint8_t>(song.keySharps), static_cast<std::uint8_t>(song.minor ? 1 : 0)});
    const auto microseconds = static_cast<std::uint32_t>(60'000'000 / song.beatsPerMinute);
    track.Meta(0, 0x51,
               {static_cast<std::uint8_t>(microseconds >> 16), static_cast<std::uint8_t>(microseconds >> 8),
                static_cast<std::uint8_t>(microseconds)});
    track.Meta(end, 0x2F, std::vector<std::uint8_t>{});
    return track.Chunk();
}

std::vector<std::uint8_t> PartTrack(const MidiPart& part, int end)
{
    Score score;
    try {
        score = ReadScore(part.score);
    } catch (const std::exception& error) {
        throw std::runtime_error(part.name + ": " + error.what());
    }
    if (score.ticks != end)
        throw std::runtime_error(part.name + ": the part is not as long as the song");
    // (tick, note-off first, pitch, velocity)
    std::vector<std::tuple<int, int, int, int>> events;
    for (const auto& note : score.notes) {
        const int length = std::max(1, static_cast<int>(note.length * part.gate));
        if (note.tick + length > end)
            throw std::runtime_error(part.name + ": a note sounds past the end of the song");
        events.emplace_back(note.tick, 1, note.pitch, note.velocity);
        events.emplace_back(note.tick + length, 0, note.pitch, 0);
    }
    std::sort(events.begin(), events.end());

    const auto channel = static_cast<std::uint8_t>(part.channel);
    TrackWriter track;
    track.Text(0, 0x03, part.name);
    track.Meta(0, 0x21, {0});
    track.Channel(0, static_cast<std::uint8_t>(0xC0 | channel), {part.program});
    track.Channel(0, static_cast<std::uint8_t>(0xB0 | channel), {7, part.volume});
    track.Channel(0, static_cast<std::uint8_t>(0xB0 | channel), {10, part.pan});
    track.Channel(0, static_cast<std::uint8_t>(0xB0 | channel), {91, reverbSend});
    for (const auto& [tick, on, pitch, velocity] : events)
        track.Channel(tick, static_cast<std::uint8_t>(0x90 | channel), {pitch, velocity});
    track.Meta(end, 0x2F, std::vector<std::uint8_t>{});
    return track.Chunk();
}

}

std::vector<std::uint8_t> EncodeMidiFile(const MidiSong& song)
{
    const int end = song.bars * kTicksPerBar;
    ByteWriter file;
    file.Bytes("MThd");
    file.Be32(6);
    file.Be16(1);
    file.Be16(static_cast<std::uint32_t>(song.parts.size() + 1));
    file.Be16(kTicksPerQuarter);
    file.Bytes(ConductorTrack(song, end));
    for (const auto& part : song.parts)
        file.Bytes(PartTrack(part, end));
    return file.Take();
}
