// The unit size on the in-memory display: on a black background the
// automatic size of a 3840x2160 screen shows exactly the 1920x1080 scene
// at twice the size, units cut at the edges included, and a 1920x1080
// screen shows the units at their own size.
#include "app/ParadeApp.h"
#include "app/SettingsKeys.h"
#include "platform/virtual/VirtualDisplay.h"
#include "platform/virtual/VirtualPlatform.h"
#include "tests/support/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr std::int64_t THREE_SECONDS = 3000000;

std::vector<BYTE> SceneAfterThreeSeconds(SIZE screen, std::optional<int> unitSize)
{
    MemoryRegistry registry;
    ParadeSettings settings(registry, REGISTRY_KEY_NAME, "Dovezi");
    settings.WriteInt(KEY_BACKGROUND, 1);
    settings.WriteInt(KEY_PLAYMIDI, 0);
    if (unitSize)
        settings.WriteInt(KEY_UNITSIZE, *unitSize);
    VirtualDisplay display(screen, 24);
    VirtualPlatform platform(registry, display, "/usr/bin/Dovezi", screen);
    platform.ShowOn(display);
    ParadeApp app(platform);
    EXPECT_EQ(app.Initialize({"/usr/bin/Dovezi", "-s"}), 1);
    platform.RunUntil(THREE_SECONDS);
    std::vector<BYTE> rows = display.RgbRows();
    platform.LastWindow()->Post(WM_CLOSE, 0, 0);
    platform.RunMessageLoop();
    return rows;
}

std::vector<BYTE> Doubled(const std::vector<BYTE>& rgb, SIZE size)
{
    const auto width = static_cast<std::size_t>(size.cx);
    std::vector<BYTE> doubled;
    doubled.reserve(rgb.size() * 4);
    for (std::size_t y = 0; y < static_cast<std::size_t>(size.cy); ++y) {
        const std::size_t start = doubled.size();
        for (std::size_t x = 0; x < width; ++x)
            for (int copy = 0; copy < 2; ++copy)
                doubled.insert(doubled.end(), &rgb[(y * width + x) * 3], &rgb[(y * width + x) * 3 + 3]);
        doubled.insert(doubled.end(), doubled.begin() + static_cast<std::ptrdiff_t>(start), doubled.end());
    }
    return doubled;
}

}

TEST(UnitSize, FourKDoublesTheFullHdSceneWhichKeepsTheUnitsOwnSize)
{
    const SIZE fullHd{1920, 1080};
    const auto original = SceneAfterThreeSeconds(fullHd, 1);
    EXPECT_EQ(SceneAfterThreeSeconds(fullHd, std::nullopt), original);
    EXPECT_TRUE(Doubled(original, fullHd) == SceneAfterThreeSeconds(SIZE{3840, 2160}, std::nullopt))
        << "the 4K scene is not the full-HD one doubled";
}
