#include "platform/virtual/VirtualMidiOut.h"
#include "tests/unit/streamthreads/StreamHarness.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

std::vector<char> ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Plays one note on the record mode's device, from 0.25 s to 0.5 s of the
// virtual clock, and ends at 2 s; the file's bytes.
std::vector<char> RecordOneNote(const std::string& path)
{
    RecordingOutput unused;
    StreamClient client{unused};
    EventBuffer buffer;
    buffer.Short(500, NoteOn(60, 127)).Short(500, NoteOn(60, 0));
    {
        VirtualMidiOut midiOut(path);
        std::string name;
        EXPECT_EQ(midiOut.GetNumDevs(), 1u);
        EXPECT_EQ(midiOut.GetDevName(0, name), 0u);
        EXPECT_EQ(name, "Software Synthesizer");

        HMIDISTRM stream = nullptr;
        EXPECT_EQ(midiOut.StreamOpen(&stream, 0, &StreamClient::Receive, reinterpret_cast<DWORD_PTR>(&client)), 0u);
        MIDIPROPTIMEDIV division{sizeof(division), 1000};
        EXPECT_EQ(midiOut.StreamProperty(stream, reinterpret_cast<BYTE*>(&division), MIDIPROP_SET | MIDIPROP_TIMEDIV),
                  0u);
        MIDIHDR* header = buffer.Header();
        EXPECT_EQ(midiOut.StreamOut(stream, header, sizeof(MIDIHDR)), 0u);
        EXPECT_EQ(midiOut.StreamRestart(stream), 0u);
        for (std::int64_t now = 0; now <= 1'000'000; now += 40'000)
            midiOut.AdvanceTo(now);
        EXPECT_EQ(client.Done(), std::vector<MIDIHDR*>{header}) << "handed back on the virtual clock";
        EXPECT_EQ(midiOut.StreamClose(stream), 0u);
        midiOut.AdvanceTo(2'000'000);
    }
    return ReadFile(path);
}

TEST(VirtualMidiOut, RecordsWhatItPlaysIntoTheSameFileEveryTime)
{
    if (!MidiStreamSynth::SoundfontExists(DEFAULT_SOUNDFONT))
        GTEST_SKIP() << "no soundfont at " << DEFAULT_SOUNDFONT;
    Watchdog watchdog;
    const std::string path = std::string(DOVEZI_BINARY_DIR) + "/virtual-midi-" + std::to_string(::getpid()) + ".wav";
    const std::vector<char> first = RecordOneNote(path);
    const std::vector<char> second = RecordOneNote(path);
    std::remove(path.c_str());

    ASSERT_EQ(first.size(), 44u + 88200u * 4) << "the file lasts until the clock's end";
    EXPECT_EQ(first, second);
    const auto loudest = [&](std::size_t from, std::size_t to) {
        int most = 0;
        for (std::size_t at = 44 + from * 4; at < 44 + to * 4; at += 2)
            most = std::max(most, std::abs(static_cast<int>(static_cast<std::int16_t>(
                                      static_cast<BYTE>(first[at]) | (static_cast<BYTE>(first[at + 1]) << 8)))));
        return most;
    };
    EXPECT_EQ(loudest(0, 11025), 0);
    EXPECT_GT(loudest(11025, 22050), 1000);
}

TEST(VirtualMidiOut, WithoutASoundfontThereIsNoDevice)
{
    VirtualMidiOut midiOut(std::string(DOVEZI_BINARY_DIR) + "/never-written.wav", "/nonexistent/font.sf2");
    EXPECT_EQ(midiOut.GetNumDevs(), 0u);
    HMIDISTRM stream = nullptr;
    EXPECT_EQ(midiOut.StreamOpen(&stream, 0, nullptr, 0), static_cast<MMRESULT>(MMSYSERR_BADDEVICEID));
}

} // namespace
