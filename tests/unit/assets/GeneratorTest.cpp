// The committed files in res/ are what the asset generator draws, and the
// score notation it writes the song in catches its own mistakes.
#include "tools/assets/Assets.h"
#include "tools/assets/ScoreNotation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

std::vector<std::uint8_t> ReadCommitted(const std::string& name)
{
    std::ifstream in(std::filesystem::path(DOVEZI_SOURCE_DIR) / "res" / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(AssetGenerator, DrawsExactlyTheCommittedFilesEveryTime)
{
    const auto first = GenerateAssets();
    const auto second = GenerateAssets();
    ASSERT_EQ(first.size(), 10u);
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].bytes, second[i].bytes) << first[i].name << " differs between two runs";
        EXPECT_TRUE(first[i].bytes == ReadCommitted(first[i].name))
            << "res/" << first[i].name << " is not what the generator draws; run dovezi-assets res";
    }
}

TEST(ScoreNotation, ReadsPitchesLengthsChordsAndDynamics)
{
    const Score score = ReadScore("f C4/4. D#5/8 >A3+Bb3/4 r/8t snare/8t kick/8t | p G9/1 |");
    ASSERT_EQ(score.notes.size(), 7u);
    EXPECT_EQ(score.ticks, 2 * kTicksPerBar);
    EXPECT_EQ(score.notes[0].pitch, 60);
    EXPECT_EQ(score.notes[0].length, 180);
    EXPECT_EQ(score.notes[1].pitch, 75);
    EXPECT_EQ(score.notes[1].tick, 180);
    EXPECT_EQ(score.notes[2].pitch, 57);
    EXPECT_EQ(score.notes[3].pitch, 58);
    EXPECT_EQ(score.notes[3].tick, score.notes[2].tick);
    EXPECT_EQ(score.notes[3].velocity, score.notes[0].velocity + 16);
    EXPECT_EQ(score.notes[4].pitch, 38);
    EXPECT_EQ(score.notes[4].tick, 360 + 40);
    EXPECT_EQ(score.notes[5].length, 40);
    EXPECT_EQ(score.notes[6].pitch, 127);
    EXPECT_LT(score.notes[6].velocity, score.notes[0].velocity);
}

TEST(ScoreNotation, RefusesBarsOfTheWrongLengthAndUnknownWords)
{
    EXPECT_THROW(ReadScore("C4/4 C4/4 C4/4 |"), std::runtime_error);
    EXPECT_THROW(ReadScore("C4/1 C4/8 |"), std::runtime_error);
    EXPECT_THROW(ReadScore("C4/1"), std::runtime_error);
    EXPECT_THROW(ReadScore("H4/1 |"), std::runtime_error);
    EXPECT_THROW(ReadScore("C4/3 C4/1 |"), std::runtime_error);
    EXPECT_THROW(ReadScore("G#9/1 |"), std::runtime_error);
    EXPECT_THROW(ReadScore("cowbell/1 |"), std::runtime_error);
}

}
