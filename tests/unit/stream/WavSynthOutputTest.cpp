#include "platform/stream/MidiStreamOutput.h"
#include "platform/virtual/WavSynthOutput.h"
#include "tests/unit/stream/StreamTestKit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

std::vector<BYTE> ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::uint32_t Le32(const std::vector<BYTE>& bytes, std::size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

// The largest sample magnitude among frames [from, to).
int Loudest(const std::vector<BYTE>& file, std::size_t from, std::size_t to)
{
    int loudest = 0;
    for (std::size_t frame = from; frame < to; ++frame)
        for (std::size_t channel = 0; channel < 2; ++channel) {
            const std::size_t at = 44 + frame * 4 + channel * 2;
            const auto sample = static_cast<std::int16_t>(file[at] | (file[at + 1] << 8));
            loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
        }
    return loudest;
}

class WavSynth : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!MidiStreamSynth::SoundfontExists(DEFAULT_SOUNDFONT))
            GTEST_SKIP() << "no soundfont at " << DEFAULT_SOUNDFONT;
    }
    void TearDown() override
    {
        for (const std::string& path : m_paths)
            std::remove(path.c_str());
    }
    std::string TempPath()
    {
        m_paths.push_back(std::string(DOVEZI_BINARY_DIR) + "/wav-synth-" + std::to_string(::getpid()) + "-" +
                          std::to_string(m_paths.size()) + ".wav");
        return m_paths.back();
    }
    // A note from 0.25 s to 0.5 s, the channel silenced at 0.75 s, the file
    // ended at 1.5 s.
    std::vector<BYTE> RenderNote()
    {
        const std::string path = TempPath();
        WavSynthOutput output;
        EXPECT_TRUE(output.Open(DEFAULT_SOUNDFONT, path));
        output.SendShort(0xC0 | (0 << 8), 0);
        output.SendShort(NoteOn(60, 127), 250'000);
        output.SendShort(NoteOn(60, 0), 500'000);
        SendSilence(output, 750'000);
        output.FinishAt(1'500'000);
        return ReadFile(path);
    }

    std::vector<std::string> m_paths;
};

TEST_F(WavSynth, RendersEachEventAtItsTimeIntoA16BitStereoFile)
{
    const std::vector<BYTE> file = RenderNote();
    ASSERT_EQ(file.size(), 44u + 66150u * 4);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_EQ(Le32(file, 4), file.size() - 8);
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le32(file, 24), 44100u);
    EXPECT_EQ(Le32(file, 28), 44100u * 4);
    EXPECT_EQ(file[22], 2);  // channels
    EXPECT_EQ(file[34], 16); // bits
    EXPECT_EQ(Le32(file, 40), 66150u * 4);

    EXPECT_EQ(Loudest(file, 0, 11025), 0) << "nothing before the note";
    EXPECT_GT(Loudest(file, 11025, 22050), 1000) << "the note sounds from 0.25 s";
    EXPECT_LT(Loudest(file, 44100, 66150), 50) << "silence after all sound off";
}

TEST_F(WavSynth, TheSameMessagesGiveTheSameFile)
{
    EXPECT_EQ(RenderNote(), RenderNote());
}

TEST_F(WavSynth, AFileThatCannotBeCreatedRefusesToOpen)
{
    WavSynthOutput output;
    EXPECT_FALSE(output.Open(DEFAULT_SOUNDFONT, "/nonexistent-folder/out.wav"));
    WavSynthOutput missingFont;
    EXPECT_FALSE(missingFont.Open("/nonexistent-folder/font.sf2", TempPath()));
}

} // namespace
