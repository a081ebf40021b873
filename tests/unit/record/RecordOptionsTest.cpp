#include "platform/virtual/RecordMode.h"

#include <gtest/gtest.h>

namespace {
std::optional<RecordOptions> Parse(std::vector<std::string> words)
{
    std::string error;
    auto options = ParseRecordOptions(words, error);
    EXPECT_EQ(options.has_value(), error.empty()) << error;
    return options;
}
}

TEST(RecordOptions, DefaultsAndEveryOption)
{
    const auto plain = Parse({"out"});
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->folder, "out");
    EXPECT_EQ(plain->seconds, 10);
    EXPECT_FALSE(plain->size);
    EXPECT_EQ(plain->depth, 24);

    const auto full = Parse({"dir", "--seconds", "3", "--size", "800x600", "--depth", "8", "--desktop", "d.png"});
    ASSERT_TRUE(full);
    EXPECT_EQ(full->seconds, 3);
    EXPECT_EQ(full->size->cx, 800);
    EXPECT_EQ(full->size->cy, 600);
    EXPECT_EQ(full->depth, 8);
    EXPECT_EQ(full->desktop, "d.png");
}

TEST(RecordOptions, RefusesWhatItCannotHonour)
{
    for (const auto& words : std::vector<std::vector<std::string>>{
             {},
             {"--seconds", "3"},
             {"dir", "--seconds"},
             {"dir", "--seconds", "0"},
             {"dir", "--seconds", "-4"},
             {"dir", "--seconds", "99999999999"},
             {"dir", "--size", "800"},
             {"dir", "--size", "0x600"},
             {"dir", "--size", "100000x10"},
             {"dir", "--depth", "32"},
             {"dir", "--depth", "15"},
             {"dir", "--colour", "red"},
         }) {
        std::string error;
        EXPECT_FALSE(ParseRecordOptions(words, error));
        EXPECT_FALSE(error.empty());
    }
}
