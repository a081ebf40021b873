#include "platform/linux/DisplayChoice.h"

#include <gtest/gtest.h>

namespace {
constexpr CompositorOffer NONE{false, false, false};
constexpr CompositorOffer TOPLEVELS_ONLY{true, false, true};
constexpr CompositorOffer BARE{true, false, false};
constexpr CompositorOffer WITH_LAYERS{true, true, true};
}

TEST(DisplayChoice, FollowsWhatTheCompositorOffersAndTheForcingWord)
{
    EXPECT_EQ(ChooseDisplaySystem(std::nullopt, DisplayUse::Save, WITH_LAYERS), DisplaySystem::Wayland);
    // Without the layer shell the saver covers the outputs with full-screen toplevels.
    EXPECT_EQ(ChooseDisplaySystem(std::nullopt, DisplayUse::Save, TOPLEVELS_ONLY), DisplaySystem::Wayland);
    EXPECT_EQ(ChooseDisplaySystem(std::nullopt, DisplayUse::Save, BARE), DisplaySystem::X11);
    EXPECT_EQ(ChooseDisplaySystem(std::nullopt, DisplayUse::Save, NONE), DisplaySystem::X11);
    EXPECT_EQ(ChooseDisplaySystem(std::nullopt, DisplayUse::Configure, BARE), DisplaySystem::Wayland);
    EXPECT_EQ(ChooseDisplaySystem(std::nullopt, DisplayUse::Configure, NONE), DisplaySystem::X11);
    // The background needs the layer shell; else -root stays on X.
    EXPECT_EQ(ChooseDisplaySystem(std::nullopt, DisplayUse::Background, WITH_LAYERS), DisplaySystem::Wayland);
    EXPECT_EQ(ChooseDisplaySystem(std::nullopt, DisplayUse::Background, TOPLEVELS_ONLY), DisplaySystem::X11);
    EXPECT_EQ(ChooseDisplaySystem(DisplaySystem::X11, DisplayUse::Save, WITH_LAYERS), DisplaySystem::X11);
    EXPECT_EQ(ChooseDisplaySystem(DisplaySystem::Wayland, DisplayUse::Save, NONE), DisplaySystem::Wayland);
    // A host window is always an X window, whatever was asked for.
    EXPECT_EQ(ChooseDisplaySystem(DisplaySystem::Wayland, DisplayUse::HostWindow, WITH_LAYERS), DisplaySystem::X11);
    EXPECT_TRUE(WhyCompositorCannotServe(DisplayUse::Save, TOPLEVELS_ONLY).empty());
    EXPECT_FALSE(WhyCompositorCannotServe(DisplayUse::Save, BARE).empty());
    EXPECT_FALSE(WhyCompositorCannotServe(DisplayUse::Background, TOPLEVELS_ONLY).empty());

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

TEST(DisplayChoice, DisplayModeDrawsOnTheBackgroundOnlyWhereNoDaemonNamesAWindow)
{
    EXPECT_TRUE(IsDisplayModeWord("-root"));
    EXPECT_TRUE(IsDisplayModeWord("--root"));
    EXPECT_FALSE(IsDisplayModeWord("-r"));
    EXPECT_EQ(DisplayModeUse("0x400007"), DisplayUse::HostWindow);
    EXPECT_EQ(DisplayModeUse(""), DisplayUse::Background);
    EXPECT_EQ(DisplayModeUse(nullptr), DisplayUse::Background);
    // On an X desktop a stray wayland-0 socket never takes -root from the root window.
    EXPECT_TRUE(TriesCompositor(DisplayUse::Background, "wayland-1", false));
    EXPECT_FALSE(TriesCompositor(DisplayUse::Background, nullptr, true));
    EXPECT_TRUE(TriesCompositor(DisplayUse::Save, nullptr, true));
    EXPECT_FALSE(TriesCompositor(DisplayUse::HostWindow, "wayland-1", true));
}
