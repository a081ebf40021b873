#include "parade/MarcherList.h"
#include "parade/UnitTable.h"
#include "tests/support/StripPictures.h"

#include <gtest/gtest.h>

namespace {

constexpr BYTE BACKGROUND_INDEX = 5;

class Changes : public CanvasInvalidator {
public:
    void InvalidateCanvas(const RECT& rect) override { m_rects.push_back(rect); }
    std::vector<RECT> m_rects;
};

class ParadeTick : public ::testing::Test {
protected:
    ParadeTick()
    {
        LoadSurface(m_canvas, MakeStrip(1024, 100, 1, [](int, int, int) { return BACKGROUND_INDEX; }));
        ResetList();
    }

    void ResetList()
    {
        m_list = std::make_unique<MarcherList>();
        m_list->SetBackground(&m_canvas);
    }

    // A template of lane `lane` (0-based) on a 1024-pixel-wide screen at y 0.
    MarcherSpec LaneTemplate(std::size_t lane, bool march, UINT delay = 0)
    {
        const UnitKind& kind = UNIT_TABLE[lane];
        if (m_strip.IsEmpty())
            LoadSurface(m_strip, MakeFramedStrip(kind.cxFrame, kind.cyFrame, kind.nFrames));
        MarcherSpec marcherSpec;
        marcherSpec.m_cxFrame = kind.cxFrame;
        marcherSpec.m_cyFrame = kind.cyFrame;
        marcherSpec.m_nLastFrame = static_cast<UINT>(kind.nFrames - 1);
        marcherSpec.m_bVertical = 1;
        marcherSpec.m_ptStart = POINT{kind.bWalksLeft ? 1024 : -kind.cxFrame, 0};
        marcherSpec.m_ptEnd = POINT{kind.bWalksLeft ? -kind.cxFrame : 1024, 0};
        marcherSpec.m_ptStep = POINT{kind.nStepX, 0};
        marcherSpec.m_nDelay = delay;
        marcherSpec.m_bMarch = march ? 1 : 0;
        return marcherSpec;
    }

    Marcher& Add(const MarcherSpec& marcherSpec)
    {
        const POINT key{0, 0};
        MarcherNode* node = nullptr;
        m_list->AddMarcher(&m_strip, &key, &marcherSpec, &node);
        return node->marcher;
    }

    void Tick()
    {
        m_list->AdvanceAll(m_canvas, m_changes);
        m_list->RenderAll(m_canvas, m_changes);
    }

    BYTE IndexAt(int x, int y) const
    {
        const auto* bits = m_canvas.Bits();
        return bits[static_cast<std::size_t>((m_canvas.Height() - 1 - y)) * m_canvas.Stride() + static_cast<std::size_t>(x)];
    }

    DibSurface m_canvas;
    DibSurface m_strip;
    std::unique_ptr<MarcherList> m_list;
    Changes m_changes;
};

}

TEST_F(ParadeTick, AMarcherWalkingLeftIsFirstDrawnOneStepInAndRestartsOffScreen)
{
    Marcher& marcher = Add(LaneTemplate(0, true, 3));
    for (int tick = 0; tick < 3; ++tick) {
        Tick();
        EXPECT_TRUE(m_changes.m_rects.empty()) << "waiting marchers draw nothing";
    }
    Tick();
    EXPECT_EQ(marcher.m_ptPos.x, 1019);
    EXPECT_EQ(IndexAt(1019 + 1, 1), 10 + 3) << "the frames ran on while it waited";

    int tick = 0;
    while (marcher.m_ptPos.x != -51 && ++tick < 1000)
        Tick();
    std::vector<LONG> positions{marcher.m_ptPos.x};
    for (int more = 0; more < 2; ++more) {
        Tick();
        positions.push_back(marcher.m_ptPos.x);
    }
    EXPECT_EQ(positions, (std::vector<LONG>{-51, 1024, 1019}));
}

TEST_F(ParadeTick, AMarcherWalkingRightRestartsWhenItWouldPassTheRightEdge)
{
    Marcher& marcher = Add(LaneTemplate(1, true));
    LONG last = marcher.m_ptPos.x;
    for (int tick = 0; tick < 1000; ++tick) {
        Tick();
        if (marcher.m_ptPos.x < last)
            break;
        last = marcher.m_ptPos.x;
    }
    EXPECT_EQ(last, 1024);
    EXPECT_EQ(marcher.m_ptPos.x, -64);
}

TEST_F(ParadeTick, TheMarchFlagKeepsAKindInStep)
{
    for (bool march : {true, false}) {
        ResetList();
        Marcher& first = Add(LaneTemplate(3, march, 0));
        Marcher& second = Add(LaneTemplate(3, march, 13));
        for (int tick = 0; tick < 40; ++tick) {
            Tick();
            if (tick >= 13) {
                const UINT lag = (first.m_nFrame + 15 - second.m_nFrame) % 15;
                EXPECT_EQ(lag, march ? 0u : 13u) << "tick " << tick << " march " << march;
            }
        }
    }
}

TEST_F(ParadeTick, RestoresComeBeforeDrawsAndLaterMarchersCoverEarlierOnes)
{
    Marcher& behind = Add(LaneTemplate(2, true, 0));
    Marcher& front = Add(LaneTemplate(2, true, 1));
    for (int tick = 0; tick < 4; ++tick)
        Tick();
    ASSERT_EQ(behind.m_ptPos.x + 6, front.m_ptPos.x);
    const int overlapX = front.m_ptPos.x + 2;
    EXPECT_EQ(IndexAt(overlapX, 2), 10 + static_cast<int>((front.m_nFrame + 9) % 10));
    EXPECT_EQ(IndexAt(behind.m_ptPos.x + 2, 2), 10 + static_cast<int>((behind.m_nFrame + 9) % 10));
    EXPECT_EQ(IndexAt(front.m_ptPos.x + 90, 2), BACKGROUND_INDEX) << "the key colour never shows";
}
