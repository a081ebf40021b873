#include "app/ParadeApp.h"
#include "tests/support/MemoryRegistry.h"
#include "platform/virtual/VirtualPlatform.h"
#include "tests/support/NoGraphics.h"

#include <gtest/gtest.h>

TEST(MatchesSwitch, OnlyTheFirstCharacterAfterOneSeparatorCounts)
{
    for (const char* word : {"/s", "-S", "s", "/save", "Scatter", "S", "/screensaver"})
        EXPECT_EQ(ParadeApp::MatchesSwitch(word, "s"), 1) << word;
    for (const char* word : {"//s", "", "-", "x", "/x", "--s", " s"})
        EXPECT_EQ(ParadeApp::MatchesSwitch(word, "s"), 0) << word;
    EXPECT_EQ(ParadeApp::MatchesSwitch("/c:1234", "c"), 1);
    EXPECT_EQ(ParadeApp::MatchesSwitch("-P", "p"), 1);
}

TEST(ParseWindowHandle, ReadsASignedDecimalPrefix)
{
    EXPECT_EQ(ParseWindowHandle("1234"), reinterpret_cast<HWND>(1234));
    EXPECT_EQ(ParseWindowHandle("00123"), reinterpret_cast<HWND>(123));
    EXPECT_EQ(ParseWindowHandle("  +77abc"), reinterpret_cast<HWND>(77));
    EXPECT_EQ(ParseWindowHandle("-5"), reinterpret_cast<HWND>(static_cast<std::intptr_t>(-5)));
    EXPECT_EQ(ParseWindowHandle("0x10"), reinterpret_cast<HWND>(0));
    EXPECT_EQ(ParseWindowHandle(""), reinterpret_cast<HWND>(0));
    EXPECT_EQ(ParseWindowHandle("abc"), reinterpret_cast<HWND>(0));
    EXPECT_NO_THROW(ParseWindowHandle("999999999999999999999999999999"));
}

class StartModes : public ::testing::Test {
protected:
    MemoryRegistry m_registry;
    NoGraphics m_graphics;
    VirtualPlatform m_platform{m_registry, m_graphics, "/usr/bin/Dovezi", SIZE{1024, 768}};
    ParadeApp m_app{m_platform};
};

TEST_F(StartModes, UnknownWordsEndAtOnceWithoutAWindow)
{
    for (const char* word : {"x", "/x", "", "//s"}) {
        EXPECT_EQ(m_app.Initialize({"Dovezi", word}), 0) << word;
        EXPECT_EQ(m_platform.LastWindow(), nullptr) << word;
    }
}

TEST_F(StartModes, SaveOpensATopmostPopupOverTheScreen)
{
    ASSERT_EQ(m_app.Initialize({"Dovezi", "/s"}), 1);
    VirtualWindow* window = m_platform.LastWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Style(), static_cast<DWORD>(WS_POPUP | WS_VISIBLE));
    EXPECT_EQ(window->ExStyle(), static_cast<DWORD>(WS_EX_TOPMOST));
    EXPECT_EQ(window->ClientRect().right, 1024);
    EXPECT_EQ(window->ClientRect().bottom, 768);

    window->Post(WM_CLOSE, 0, 0);
    EXPECT_EQ(m_platform.RunMessageLoop(), 0);
    EXPECT_EQ(m_platform.LastWindow(), nullptr);
}

TEST_F(StartModes, PreviewOpensAChildOfTheHostSizedToItsClientArea)
{
    const HWND host = m_platform.AddHostWindow(RECT{0, 0, 152, 112});
    const std::string handle = std::to_string(reinterpret_cast<std::uintptr_t>(host));
    ASSERT_EQ(m_app.Initialize({"Dovezi", "-P", handle}), 1);
    VirtualWindow* window = m_platform.LastWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Parent(), host);
    EXPECT_EQ(window->Style(), static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(window->ClientRect().right, 152);
    EXPECT_EQ(window->ClientRect().bottom, 112);

    m_platform.RemoveHostWindow(host);
    EXPECT_EQ(m_platform.LastWindow(), nullptr);
    EXPECT_EQ(m_platform.RunMessageLoop(), 0);
}

TEST_F(StartModes, PreviewWithoutAUsableHandleEndsAtOnce)
{
    EXPECT_EQ(m_app.Initialize({"Dovezi", "p"}), 0);
    EXPECT_EQ(m_app.Initialize({"Dovezi", "p", "12345"}), 0);
    EXPECT_EQ(m_platform.LastWindow(), nullptr);
}
