#include "platform/virtual/PngFile.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {
class PngFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path() /
                   ("png-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::string Path(const char* name) const { return (m_folder / name).string(); }

    std::filesystem::path m_folder;
};
}

TEST_F(PngFileTest, RgbRowsSurviveARoundTrip)
{
    RgbPicture picture{3, 2, {}};
    for (int i = 0; i < 18; ++i)
        picture.rgb.push_back(static_cast<BYTE>(i * 14));
    ASSERT_TRUE(WritePngFile(Path("frame.png"), picture));
    RgbPicture read;
    ASSERT_TRUE(ReadPngFile(Path("frame.png"), read));
    EXPECT_EQ(read.width, 3);
    EXPECT_EQ(read.height, 2);
    EXPECT_EQ(read.rgb, picture.rgb);
}

TEST_F(PngFileTest, OtherKindsOfPngAreReadAsRgb)
{
    // A grey picture with transparency: transparent pixels lie over black.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 2;
    image.height = 1;
    image.format = PNG_FORMAT_GA;
    const BYTE greyAlpha[4] = {200, 255, 200, 0};
    ASSERT_TRUE(png_image_write_to_file(&image, Path("grey.png").c_str(), 0, greyAlpha, 0, nullptr));
    RgbPicture read;
    ASSERT_TRUE(ReadPngFile(Path("grey.png"), read));
    ASSERT_EQ(read.rgb.size(), 6u);
    EXPECT_EQ(read.rgb[0], read.rgb[1]);
    EXPECT_GT(read.rgb[0], 150);
    EXPECT_EQ(read.rgb[3], 0);
}

TEST_F(PngFileTest, RefusesWhatIsNotAPicture)
{
    RgbPicture read;
    EXPECT_FALSE(ReadPngFile(Path("missing.png"), read));
    std::ofstream(Path("text.png")) << "not a picture";
    EXPECT_FALSE(ReadPngFile(Path("text.png"), read));
    EXPECT_FALSE(ReadPngMemory(nullptr, 0, read));

    // A valid start cut short.
    RgbPicture picture{4, 4, std::vector<BYTE>(48, 90)};
    ASSERT_TRUE(WritePngFile(Path("whole.png"), picture));
    std::ifstream whole(Path("whole.png"), std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(whole), std::istreambuf_iterator<char>()};
    bytes.resize(bytes.size() / 2);
    EXPECT_FALSE(ReadPngMemory(bytes.data(), bytes.size(), read));

    EXPECT_FALSE(WritePngFile(Path("bad.png"), RgbPicture{4, 4, std::vector<BYTE>(47)}));
    EXPECT_FALSE(WritePngFile((m_folder / "no-such-folder" / "x.png").string(), picture));
}
