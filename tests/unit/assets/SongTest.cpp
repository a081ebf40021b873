// The built-in song, walked chunk by chunk and event by event.
#include "platform/resources/EmbeddedResources.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct Event {
    std::uint32_t tick;
    std::uint8_t status; // 0xFF for meta events
    std::uint8_t type;   // the meta type, or the first data byte
    std::vector<std::uint8_t> data;
    bool runningStatus;
};

struct Track {
    std::vector<Event> events;
};

struct Song {
    unsigned format = 0, tracks = 0, division = 0;
    std::vector<Track> chunks;
};

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool AtEnd() const { return m_pos >= m_size; }
    std::uint8_t Byte()
    {
        if (m_pos >= m_size)
            throw std::runtime_error("past the end");
        return m_data[m_pos++];
    }
    std::uint8_t Peek() const { return m_pos < m_size ? m_data[m_pos] : 0; }
    std::uint32_t Big(int bytes)
    {
        std::uint32_t value = 0;
        while (bytes-- > 0)
            value = value << 8 | Byte();
        return value;
    }
    std::uint32_t Quantity()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint8_t b = Byte();
            value = value << 7 | (b & 0x7Fu);
            if ((b & 0x80) == 0)
                return value;
        }
        throw std::runtime_error("variable-length quantity longer than four bytes");
    }
    std::string Tag() { return {static_cast<char>(Byte()), static_cast<char>(Byte()), static_cast<char>(Byte()), static_cast<char>(Byte())}; }
    Reader Sub(std::uint32_t length)
    {
        if (length > m_size - m_pos)
            throw std::runtime_error("chunk longer than the file");
        Reader sub(m_data + m_pos, length);
        m_pos += length;
        return sub;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

Track ReadTrack(Reader track)
{
    Track result;
    std::uint32_t tick = 0;
    std::uint8_t status = 0;
    while (!track.AtEnd()) {
        tick += track.Quantity();
        Event event{tick, 0, 0, {}, false};
        if (track.Peek() & 0x80) {
            event.status = track.Byte();
        } else {
            if (status == 0)
                throw std::runtime_error("running status without a status");
            event.status = status;
            event.runningStatus = true;
        }
        if (event.status == 0xFF) {
            event.type = track.Byte();
            const std::uint32_t length = track.Quantity();
            for (std::uint32_t i = 0; i < length; ++i)
                event.data.push_back(track.Byte());
            status = 0;
        } else if (event.status == 0xF0 || event.status == 0xF7) {
            const std::uint32_t length = track.Quantity();
            for (std::uint32_t i = 0; i < length; ++i)
                track.Byte();
            status = 0;
        } else {
            status = event.status;
            event.type = track.Byte();
            const unsigned kind = event.status & 0xF0u;
            if (kind != 0xC0 && kind != 0xD0)
                event.data.push_back(track.Byte());
        }
        result.events.push_back(event);
    }
    return result;
}

Song ReadSong()
{
    const ResourceBlock block = EmbeddedResources().Load(ResourceType::RcData, IDR_SONG);
    Reader file(block.data, block.size);
    Song song;
    if (file.Tag() != "MThd" || file.Big(4) != 6)
        throw std::runtime_error("no header chunk");
    song.format = file.Big(2);
    song.tracks = file.Big(2);
    song.division = file.Big(2);
    while (!file.AtEnd()) {
        const std::string tag = file.Tag();
        Reader chunk = file.Sub(file.Big(4));
        if (tag == "MTrk")
            song.chunks.push_back(ReadTrack(chunk));
    }
    return song;
}

bool HasMeta(const Track& track, std::uint8_t type)
{
    for (const auto& event : track.events)
        if (event.status == 0xFF && event.type == type)
            return true;
    return false;
}

TEST(BuiltInSong, IsAFormatOneFileOfNineTracksAtOneHundredTwentyTicks)
{
    const Song song = ReadSong();
    EXPECT_EQ(song.format, 1u);
    EXPECT_EQ(song.tracks, 9u);
    EXPECT_EQ(song.division, 120u);
    EXPECT_EQ(song.chunks.size(), 9u);
}

TEST(BuiltInSong, CarriesItsMetaEventsAndNoSystemExclusive)
{
    const Song song = ReadSong();
    ASSERT_EQ(song.chunks.size(), 9u);
    int tempos = 0;
    bool running = false;
    for (std::size_t t = 0; t < song.chunks.size(); ++t) {
        const Track& track = song.chunks[t];
        EXPECT_TRUE(HasMeta(track, 0x03)) << "track name in track " << t;
        if (t > 0) {
            EXPECT_TRUE(HasMeta(track, 0x21)) << "MIDI port in track " << t;
        }
        for (const auto& event : track.events) {
            EXPECT_NE(event.status, 0xF0) << "system exclusive in track " << t;
            EXPECT_NE(event.status, 0xF7) << "system exclusive in track " << t;
            running |= event.runningStatus;
            if (event.status == 0xFF && event.type == 0x51) {
                ++tempos;
                EXPECT_EQ(t, 0u);
                EXPECT_EQ(event.tick, 0u);
            }
        }
        ASSERT_FALSE(track.events.empty());
        EXPECT_EQ(track.events.back().status, 0xFF);
        EXPECT_EQ(track.events.back().type, 0x2F) << "track " << t << " ends with its end event";
    }
    EXPECT_EQ(tempos, 1);
    EXPECT_TRUE(running) << "running status is used";
    for (const std::uint8_t type : {std::uint8_t{0x54}, std::uint8_t{0x58}, std::uint8_t{0x59}})
        EXPECT_TRUE(HasMeta(song.chunks[0], type)) << "meta event " << int{type} << " in the conductor track";
}

// The song repeats without a seam: every track ends on the same bar line,
// no note is left sounding there, and the whole lasts 60 to 120 seconds.
TEST(BuiltInSong, EndsOnABarLineWithEveryNoteReleased)
{
    const Song song = ReadSong();
    ASSERT_EQ(song.chunks.size(), 9u);
    const std::uint32_t end = song.chunks[0].events.back().tick;
    EXPECT_EQ(end % (4 * song.division), 0u) << "a bar of 4/4 is four quarters";
    std::uint32_t microsecondsPerQuarter = 0;
    for (const auto& event : song.chunks[0].events)
        if (event.status == 0xFF && event.type == 0x51)
            microsecondsPerQuarter = event.data[0] << 16 | event.data[1] << 8 | event.data[2];
    const double seconds = static_cast<double>(end) / song.division * microsecondsPerQuarter / 1e6;
    EXPECT_GE(seconds, 60.0);
    EXPECT_LE(seconds, 120.0);

    std::set<unsigned> channels;
    for (std::size_t t = 1; t < song.chunks.size(); ++t) {
        const Track& track = song.chunks[t];
        EXPECT_EQ(track.events.back().tick, end) << "track " << t;
        std::map<unsigned, int> sounding;
        std::set<unsigned> trackChannels;
        int notes = 0;
        for (const auto& event : track.events) {
            if (event.status == 0xFF)
                continue;
            trackChannels.insert(event.status & 0x0Fu);
            if ((event.status & 0xF0u) == 0x90 && event.data[0] > 0) {
                ++sounding[event.type];
                ++notes;
            } else if ((event.status & 0xF0u) == 0x80 || (event.status & 0xF0u) == 0x90) {
                --sounding[event.type];
            }
        }
        EXPECT_GT(notes, 0) << "track " << t;
        for (const auto& [pitch, count] : sounding)
            EXPECT_EQ(count, 0) << "note " << pitch << " in track " << t;
        EXPECT_EQ(trackChannels.size(), 1u) << "one channel per track";
        channels.insert(trackChannels.begin(), trackChannels.end());
    }
    EXPECT_EQ(channels.size(), 8u);
    EXPECT_TRUE(channels.count(9)) << "drums on channel 10";
}

}
