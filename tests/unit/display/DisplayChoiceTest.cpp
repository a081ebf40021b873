#include "platform/linux/DisplayChoice.h"

#include <gtest/gtest.h>

namespace {
constexpr CompositorOffer NONE{false, false};
constexpr CompositorOffer WITHOUT_LAYERS{true, false};
constexpr CompositorOffer WITH_LAYERS{true, true};
}

TEST(DisplayChoice, FollowsWhatTheCompositorOffersAndTheForcingWord)
{
    EXPECT_EQ(ChooseDisplaySystem(std::nullopt, DisplayUse::Save, WITH_LAYERS), DisplaySystem::Wayland);
    EXPECT_EQ(ChooseDisplaySystem(std::nullopt, DisplayUse::Save, WITHOUT_LAYERS), DisplaySystem::X11);
    EXPECT_EQ(ChooseDisplaySystem(std::nullopt, DisplayUse::Save, NONE), DisplaySystem::X11);
    EXPECT_EQ(ChooseDisplaySystem(std::nullopt, DisplayUse::Configure, WITHOUT_LAYERS), DisplaySystem::Wayland);
    EXPECT_EQ(ChooseDisplaySystem(std::nullopt, DisplayUse::Configure, NONE), DisplaySystem::X11);
    EXPECT_EQ(ChooseDisplaySystem(DisplaySystem::X11, DisplayUse::Save, WITH_LAYERS), DisplaySystem::X11);
    EXPECT_EQ(ChooseDisplaySystem(DisplaySystem::Wayland, DisplayUse::Save, NONE), DisplaySystem::Wayland);
    // A host window is always an X window, whatever was asked for.
    EXPECT_EQ(ChooseDisplaySystem(DisplaySystem::Wayland, DisplayUse::HostWindow, WITH_LAYERS), DisplaySystem::X11);

    const DisplayWords forced = ReadDisplayWord({"Dovezi", "--wayland", "-s"});
    EXPECT_EQ(forced.forced, DisplaySystem::Wayland);
    EXPECT_EQ(forced.arguments, (std::vector<std::string>{"Dovezi", "-s"}));
    const DisplayWords plain = ReadDisplayWord({"Dovezi", "-s", "--x11"});
    EXPECT_FALSE(plain.forced);
    EXPECT_EQ(plain.arguments.size(), 3u);
    EXPECT_TRUE(NamesCompositor("wayland-1", false));
    EXPECT_FALSE(NamesCompositor("", false));
    EXPECT_TRUE(NamesCompositor(nullptr, true));
}
