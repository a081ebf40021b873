// The whole saver on the in-memory display, at every depth and background
// style: what changes from one moment to the next lies in the lanes, the
// solid styles stay solid around the units without copying the desktop, and
// the key colour never shows; on a true-colour display the background is
// the desktop's exact colours with the style worked on them.
#include "app/ParadeApp.h"
#include "app/SettingsKeys.h"
#include "parade/UnitTable.h"
#include "platform/virtual/GeneratedDesktop.h"
#include "platform/virtual/VirtualDisplay.h"
#include "platform/virtual/VirtualPlatform.h"
#include "tests/support/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace {

constexpr SIZE SCREEN{640, 480};

struct Run {
    int depth;
    int style;
    bool redFirst = false;
};

void PrintTo(const Run& run, std::ostream* out)
{
    *out << "depth " << run.depth << " style " << run.style << (run.redFirst ? " red first" : "");
}

class RecordedScene : public ::testing::TestWithParam<Run> {
protected:
    RecordedScene()
    {
        ParadeSettings settings(m_registry, REGISTRY_KEY_NAME, "Dovezi");
        settings.WriteInt(KEY_BACKGROUND, GetParam().style);
        settings.WriteInt(KEY_GAMMA, 60);
        settings.WriteInt(KEY_PLAYMIDI, 0);
        m_display.ShowDesktop(GenerateDesktop(SCREEN.cx, SCREEN.cy).rgb);
        m_platform.ShowOn(m_display);
    }

    std::vector<BYTE> At(std::int64_t microseconds)
    {
        m_platform.RunUntil(microseconds);
        return m_display.RgbRows();
    }

    // The rows between lanes, which no unit ever touches.
    static std::vector<int> GapRows()
    {
        std::vector<int> rows;
        int y = 0;
        for (const UnitKind& kind : UNIT_TABLE) {
            y += kind.cyFrame;
            for (int gap = 0; gap < LaneGap(SCREEN.cy) && y + gap < SCREEN.cy; ++gap)
                rows.push_back(y + gap);
            y += LaneGap(SCREEN.cy);
        }
        return rows;
    }

    MemoryRegistry m_registry;
    VirtualDisplay m_display{SCREEN, GetParam().depth, GetParam().redFirst};
    VirtualPlatform m_platform{m_registry, m_display, "/usr/bin/Dovezi", SCREEN};
};

std::string RunName(const ::testing::TestParamInfo<Run>& run)
{
    return "depth" + std::to_string(run.param.depth) + "_style" + std::to_string(run.param.style) +
           (run.param.redFirst ? "_redfirst" : "");
}

const BYTE* Pixel(const std::vector<BYTE>& rgb, int x, int y)
{
    return &rgb[(static_cast<std::size_t>(y) * SCREEN.cx + static_cast<std::size_t>(x)) * 3];
}

}

TEST_P(RecordedScene, ChangesStayInTheLanesAndTheKeyNeverShows)
{
    ParadeApp app(m_platform);
    ASSERT_EQ(app.Initialize({"/usr/bin/Dovezi", "-s"}), 1);
    const auto background = At(0);
    const auto early = At(2000000);
    const auto later = At(2500000);

    ASSERT_FALSE(GapRows().empty());
    for (int y : GapRows())
        for (int x = 0; x < SCREEN.cx; ++x)
            ASSERT_TRUE(std::equal(Pixel(early, x, y), Pixel(early, x, y) + 3, Pixel(later, x, y)))
                << "gap row " << y << " changed at x " << x;
    EXPECT_NE(early, later) << "nothing moved";

    // On an 8-bit display the desktop keeps its pixel values under the
    // units' colours, so a desktop pixel may itself show the key colour;
    // the units must add none.
    auto isKey = [](const BYTE* rgb) { return rgb[0] >= 248 && rgb[1] == 0 && rgb[2] >= 248; };
    for (const auto* frame : {&early, &later})
        for (int y = 0; y < SCREEN.cy; ++y)
            for (int x = 0; x < SCREEN.cx; ++x)
                ASSERT_FALSE(isKey(Pixel(*frame, x, y)) && !isKey(Pixel(background, x, y)))
                    << "key colour at " << x << "," << y;

    // Black and white reach the screen through the scene's pixels (white on
    // a 5-6-5 one is the brightest colour it holds) and, on an 8-bit
    // display, through the nearest colour the display has, and never copy
    // the desktop.
    const int style = GetParam().style;
    const bool oneColour = style == 1 || style == 2;
    EXPECT_EQ(m_display.CopyCount(), oneColour ? 0 : 1);
    if (oneColour) {
        const BYTE* solid = Pixel(later, 0, GapRows().front());
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_TRUE(style == 1 ? solid[channel] == 0 : solid[channel] >= 248) << int(solid[channel]);
        for (int y : GapRows())
            for (int x = 0; x < SCREEN.cx; ++x)
                ASSERT_TRUE(std::equal(solid, solid + 3, Pixel(later, x, y))) << x << "," << y;
    }
    m_platform.LastWindow()->Post(WM_CLOSE, 0, 0);
    m_platform.RunMessageLoop();
}

class TrueColourScene : public RecordedScene {};

TEST_P(TrueColourScene, KeepsEveryColourOfTheDesktop)
{
    // Every channel takes every value somewhere, low bits included.
    std::vector<BYTE> desktop(static_cast<std::size_t>(SCREEN.cx) * SCREEN.cy * 3);
    for (int y = 0; y < SCREEN.cy; ++y)
        for (int x = 0; x < SCREEN.cx; ++x) {
            BYTE* pixel = &desktop[(static_cast<std::size_t>(y) * SCREEN.cx + static_cast<std::size_t>(x)) * 3];
            pixel[0] = static_cast<BYTE>(x + y);
            pixel[1] = static_cast<BYTE>(3 * x + 7 * y);
            pixel[2] = static_cast<BYTE>(255 - x);
        }
    m_display.ShowDesktop(desktop);
    ParadeApp app(m_platform);
    ASSERT_EQ(app.Initialize({"/usr/bin/Dovezi", "-s"}), 1);
    const auto frame = At(1500000);

    const int style = GetParam().style;
    for (int y : GapRows())
        for (int x = 0; x < SCREEN.cx; ++x) {
            const BYTE* from = Pixel(desktop, x, y);
            const bool blackened = (style == 3 && (x + y) % 2 == 1) || (style == 4 && x % 2 == 0) ||
                                   (style == 5 && y % 2 == 0) || style == 1;
            for (int channel = 0; channel < 3; ++channel) {
                const int expected = blackened    ? 0
                                     : style == 2 ? 255
                                     : style == 6 ? std::min(from[channel] + 60, 255)
                                                  : from[channel];
                ASSERT_EQ(Pixel(frame, x, y)[channel], expected) << x << "," << y << " channel " << channel;
            }
        }
    m_platform.LastWindow()->Post(WM_CLOSE, 0, 0);
    m_platform.RunMessageLoop();
}

INSTANTIATE_TEST_SUITE_P(EveryDepthAndStyle, RecordedScene,
                         ::testing::ValuesIn([] {
                             std::vector<Run> runs;
                             for (int depth : {8, 16, 24})
                                 for (int style = 0; style <= 6; ++style)
                                     runs.push_back({depth, style});
                             return runs;
                         }()),
                         RunName);

// Blue in the lowest byte, as most displays keep it, and red, as a page's canvas does.
INSTANTIATE_TEST_SUITE_P(EveryStyle, TrueColourScene,
                         ::testing::ValuesIn([] {
                             std::vector<Run> runs;
                             for (bool redFirst : {false, true})
                                 for (int style = 0; style <= 6; ++style)
                                     runs.push_back({24, style, redFirst});
                             return runs;
                         }()),
                         RunName);
