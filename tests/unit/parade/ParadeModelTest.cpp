#include "app/ParadeSettings.h"
#include "parade/BuildParade.h"
#include "parade/UnitScale.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/StripPictures.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const std::array<std::string, UNIT_KIND_COUNT> UNIT_NAMES = {"Vozuzuvir Ezivuz", "Legion", "Cataphract", "Villager",
                                                             "Chariot Archer", "Priest", "Scout"};

class ParadeModel : public ::testing::Test {
protected:
    ParadeModel()
    {
        for (std::size_t slot = 0; slot < m_strips.size(); ++slot) {
            const UnitKind& kind = *std::find_if(UNIT_TABLE.begin(), UNIT_TABLE.end(),
                                                 [&](const UnitKind& k) { return k.nStripId == STRIP_ORDER[slot]; });
            LoadSurface(m_strips[slot], MakeFramedStrip(kind.cxFrame, kind.cyFrame, kind.nFrames));
        }
    }

    void SetCount(const std::string& name, int count) { m_settings.WriteInt(name, count); }

    // The first marcher of each lane, in lane order; null for an empty lane.
    std::vector<const Marcher*> LaneLeaders(int screenHeight, int screenWidth = 1024)
    {
        m_list = std::make_unique<MarcherList>();
        BuildParade(*m_list, m_strips, UNIT_NAMES, m_settings, screenWidth, LaneGap(screenHeight));
        std::vector<const Marcher*> leaders(UNIT_KIND_COUNT, nullptr);
        MarcherNode* node = nullptr;
        for (int result = m_list->GetFirst(node); result == 0; result = m_list->GetNext(node, node)) {
            for (std::size_t lane = 0; lane < UNIT_TABLE.size(); ++lane)
                if (node->marcher.m_cxFrame == UNIT_TABLE[lane].cxFrame && leaders[lane] == nullptr)
                    leaders[lane] = &node->marcher;
        }
        return leaders;
    }

    MemoryRegistry m_registry;
    ParadeSettings m_settings{m_registry, "Tevrin", "Dovezi"};
    std::array<DibSurface, UNIT_KIND_COUNT> m_strips;
    std::unique_ptr<MarcherList> m_list = std::make_unique<MarcherList>();
};

}

TEST_F(ParadeModel, LanesFillTheScreenHeightWithEqualGaps)
{
    struct Case {
        int height;
        int gap;
        std::array<LONG, UNIT_KIND_COUNT> laneY;
    };
    for (const Case& c : {Case{768, 61, {0, 113, 218, 342, 443, 591, 705}}, Case{600, 33, {0, 85, 162, 258, 331, 451, 537}},
                          Case{480, 13, {0, 65, 122, 198, 251, 351, 417}}, Case{400, 0, {0, 52, 96, 159, 199, 286, 339}},
                          Case{300, -17, {0, 35, 62, 108, 131, 201, 237}}}) {
        EXPECT_EQ(LaneGap(c.height), c.gap) << c.height;
        const auto leaders = LaneLeaders(c.height);
        for (std::size_t lane = 0; lane < leaders.size(); ++lane) {
            ASSERT_NE(leaders[lane], nullptr);
            EXPECT_EQ(leaders[lane]->m_ptStart.y, c.laneY[lane]) << c.height << " lane " << lane + 1;
            EXPECT_EQ(leaders[lane]->m_ptEnd.y, c.laneY[lane]);
        }
    }
}

TEST_F(ParadeModel, CountsAndDelaysComeFromTheSettings)
{
    SetCount("Legion", 0);
    SetCount("Villager", -3);
    SetCount("Priest", 1);
    SetCount("Scout", 25);
    const auto leaders = LaneLeaders(768);
    EXPECT_EQ(leaders[1], nullptr);
    EXPECT_EQ(leaders[3], nullptr);
    EXPECT_EQ(leaders[5]->m_ptStart.y, 591) << "lanes below empty ones keep their places";
    EXPECT_EQ(leaders[5]->m_nDelay, 0u);
    EXPECT_EQ(m_list->Count(), 5 + 5 + 5 + 1 + 25);

    std::vector<UINT> scoutDelays;
    MarcherNode* node = nullptr;
    for (int result = m_list->GetFirst(node); result == 0; result = m_list->GetNext(node, node))
        if (node->marcher.m_cxFrame == 74)
            scoutDelays.push_back(node->marcher.m_nDelay);
    ASSERT_EQ(scoutDelays.size(), 25u);
    for (std::size_t i = 0; i < scoutDelays.size(); ++i)
        EXPECT_EQ(scoutDelays[i], 13 * i);
}

TEST_F(ParadeModel, EveryMarcherTakesTheMagentaKeyAndItsLanesDirection)
{
    const auto leaders = LaneLeaders(768, 1024);
    for (std::size_t lane = 0; lane < leaders.size(); ++lane) {
        const Marcher& marcher = *leaders[lane];
        EXPECT_EQ(marcher.m_crKey, 0x00FF00FFu);
        const UnitKind& kind = UNIT_TABLE[lane];
        EXPECT_EQ(marcher.m_ptStart.x, kind.bWalksLeft ? 1024 : -kind.cxFrame);
        EXPECT_EQ(marcher.m_ptEnd.x, kind.bWalksLeft ? -kind.cxFrame : 1024);
        EXPECT_EQ(marcher.m_nLastFrame, static_cast<UINT>(kind.nFrames - 1));
    }
}

TEST_F(ParadeModel, ListKeepsOrderAndUnlinksAnyNode)
{
    MarcherSpec marcherSpec;
    MarcherNode* nodes[3] = {};
    for (auto*& node : nodes)
        ASSERT_EQ(m_list->AddMarcher(&m_strips[0], nullptr, &marcherSpec, &node), 0);
    EXPECT_EQ(m_list->AddMarcher(nullptr, nullptr, &marcherSpec), PARADE_ERR_ARGS);
    EXPECT_EQ(m_list->Count(), 3);
    EXPECT_EQ(m_list->RemoveMarcher(nullptr), LIST_ERR_NONODE);
    EXPECT_EQ(m_list->RemoveMarcher(nodes[1]), 0);
    MarcherNode* walk = nullptr;
    ASSERT_EQ(m_list->GetFirst(walk), 0);
    EXPECT_EQ(walk, nodes[0]);
    ASSERT_EQ(m_list->GetNext(walk, walk), 0);
    EXPECT_EQ(walk, nodes[2]);
    EXPECT_EQ(m_list->GetNext(walk, walk), LIST_ERR_END);
    EXPECT_EQ(m_list->RemoveMarcher(nodes[0]), 0);
    EXPECT_EQ(m_list->RemoveMarcher(nodes[2]), 0);
    EXPECT_EQ(m_list->GetFirst(walk), LIST_ERR_END);
    EXPECT_EQ(m_list->SetBackground(nullptr), PARADE_ERR_NOBACKGROUND);
    DibSurface empty;
    EXPECT_EQ(m_list->SetBackground(&empty), PARADE_ERR_COPY);
}

TEST(UnitScale, AStatedScaleWinsElseTheScreenHeightDecidesAndOddSettingsMeanAutomatic)
{
    for (int setting : {0, -1, 5, 1000})
        EXPECT_EQ(ChooseUnitScale(setting, 0, 2160), 2) << setting;
    for (int setting = 1; setting <= 4; ++setting)
        EXPECT_EQ(ChooseUnitScale(setting, 192, 768), setting);
    for (const auto& [dpi, height, scale] : {std::tuple{96, 2160, 1}, {144, 768, 2}, {120, 2160, 1}, {288, 1080, 3},
                                             {960, 1080, 4}, {0, 768, 1}, {0, 1080, 1}, {0, 1619, 1}, {0, 1620, 2},
                                             {0, 4320, 4}, {0, 100000, 4}, {0, 0, 1}, {0, -5, 1}})
        EXPECT_EQ(ChooseUnitScale(0, dpi, height), scale) << dpi << " dpi, " << height << " lines";
}
