// Icon 128 as the module carries it: a 32x32 and a 16x16 picture of 256
// colours, each with a mask that leaves the corners transparent.
#include "platform/resources/EmbeddedResources.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

std::uint32_t Le(const BYTE* data, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | data[i];
    return value;
}

TEST(ModuleIcon, HoldsTwoMaskedPicturesOfTwoHundredFiftySixColours)
{
    const ResourceBlock icon = EmbeddedResources().Load(ResourceType::Icon, IDI_VELMAR);
    ASSERT_GE(icon.size, 6u + 2 * 16);
    EXPECT_EQ(Le(icon.data, 2), 0u);
    EXPECT_EQ(Le(icon.data + 2, 2), 1u) << "an icon, not a cursor";
    ASSERT_EQ(Le(icon.data + 4, 2), 2u);
    const int sizes[] = {32, 16};
    for (int entry = 0; entry < 2; ++entry) {
        SCOPED_TRACE(sizes[entry]);
        const BYTE* directory = icon.data + 6 + 16 * entry;
        const int size = sizes[entry];
        EXPECT_EQ(directory[0], size);
        EXPECT_EQ(directory[1], size);
        EXPECT_EQ(Le(directory + 6, 2), 8u);
        const std::uint32_t length = Le(directory + 8, 4);
        const std::uint32_t offset = Le(directory + 12, 4);
        ASSERT_LE(offset + length, icon.size);
        const BYTE* image = icon.data + offset;
        EXPECT_EQ(Le(image, 4), 40u);
        EXPECT_EQ(Le(image + 4, 4), static_cast<std::uint32_t>(size));
        EXPECT_EQ(Le(image + 8, 4), static_cast<std::uint32_t>(2 * size)) << "colour rows and mask rows";
        EXPECT_EQ(Le(image + 14, 2), 8u);
        const std::uint32_t colourBytes = static_cast<std::uint32_t>(size * size);
        const std::uint32_t maskStride = 4;
        ASSERT_EQ(length, 40u + 1024u + colourBytes + maskStride * static_cast<std::uint32_t>(size));
        const BYTE* mask = image + 40 + 1024 + colourBytes;
        const auto transparent = [&](int x, int y) {
            const BYTE* row = mask + (size - 1 - y) * static_cast<int>(maskStride);
            return (row[x / 8] >> (7 - x % 8) & 1) != 0;
        };
        EXPECT_TRUE(transparent(0, 0));
        EXPECT_TRUE(transparent(size - 1, 0));
        EXPECT_FALSE(transparent(size / 2, size / 2)) << "the figure covers the middle";
    }
}

}
