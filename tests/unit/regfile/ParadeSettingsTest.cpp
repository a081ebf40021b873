#include "app/ParadeSettings.h"
#include "app/SettingsKeys.h"
#include "platform/regfile/RegFileRegistry.h"
#include "tests/unit/regfile/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace {

const RegistryPath DOVEZI_SETTINGS{"Software", {"Tevrin", "Dovezi", "Settings"}};

class Settings : public ::testing::Test {
protected:
    std::string FileText() const { return ReadWholeFile(m_folder.Path() / "Tevrin" / "Dovezi.reg"); }

    TemporaryFolder m_folder;
    RegFileRegistry m_registry{m_folder.Path().string()};
    ParadeSettings m_settings{m_registry, REGISTRY_KEY_NAME, "Dovezi"};
};

TEST_F(Settings, IntegersAreSignedDwordsAndTextsCarryTheirTerminator)
{
    EXPECT_EQ(m_settings.WriteInt(KEY_GAMMA, -255), 1);
    EXPECT_NE(FileText().find("\"GAMMA\"=dword:ffffff01\n"), std::string::npos);
    EXPECT_EQ(m_settings.ReadInt(KEY_GAMMA, 0), -255);
    EXPECT_EQ(m_registry.Query(DOVEZI_SETTINGS, KEY_GAMMA),
              (RegistryValue{REGISTRY_TYPE_DWORD, {0x01, 0xff, 0xff, 0xff}}));
    m_settings.WriteInt(KEY_SPEED, -0x7fffffff - 1);
    EXPECT_EQ(m_settings.ReadInt(KEY_SPEED, 0), -0x7fffffff - 1);

    EXPECT_EQ(m_settings.WriteString(KEY_MIDIFILEPATH, NO_FILE), 1);
    EXPECT_EQ(m_registry.Query(DOVEZI_SETTINGS, KEY_MIDIFILEPATH),
              (RegistryValue{REGISTRY_TYPE_SZ, {'N', 'o', ' ', 'F', 'i', 'l', 'e', 0}}));
    EXPECT_EQ(m_settings.ReadString(KEY_MIDIFILEPATH, "x"), NO_FILE);
    const std::string path = "/home/a \"b\"/c\\d/song.mid";
    m_settings.WriteString(KEY_MIDIFILEPATH, path);
    EXPECT_EQ(m_settings.ReadString(KEY_MIDIFILEPATH, NO_FILE), path);
}

TEST_F(Settings, IntegerReadsTakeAnyTypeUpToFourBytesZeroFilled)
{
    // Five digits and their terminator do not fit into four bytes.
    m_registry.Store(DOVEZI_SETTINGS, KEY_SPEED, {REGISTRY_TYPE_SZ, {'1', '2', '3', '4', '5', 0}});
    EXPECT_EQ(m_settings.ReadInt(KEY_SPEED, 100), 100);
    m_registry.Store(DOVEZI_SETTINGS, KEY_GAMMA, {REGISTRY_TYPE_BINARY, {0x01, 0xff, 0xff, 0xff}});
    EXPECT_EQ(m_settings.ReadInt(KEY_GAMMA, 0), -255);
    m_registry.Store(DOVEZI_SETTINGS, KEY_MIDI, {REGISTRY_TYPE_BINARY, {0x80}});
    EXPECT_EQ(m_settings.ReadInt(KEY_MIDI, 7), 0x80);
    m_registry.Store(DOVEZI_SETTINGS, KEY_PLAYMIDI, {REGISTRY_TYPE_BINARY, {}});
    EXPECT_EQ(m_settings.ReadInt(KEY_PLAYMIDI, 1), 0);
    // Texts read whatever type holds them, up to the first zero.
    m_registry.Store(DOVEZI_SETTINGS, KEY_MIDIFILEPATH, {REGISTRY_TYPE_BINARY, {'a', 'b', 0, 'c'}});
    EXPECT_EQ(m_settings.ReadString(KEY_MIDIFILEPATH, NO_FILE), "ab");
}

TEST_F(Settings, AFreshHomeGivesEveryDefaultAndIsLeftAsItWas)
{
    EXPECT_EQ(m_settings.ReadInt(KEY_SPEED, DEFAULT_SPEED), 100);
    EXPECT_EQ(m_settings.ReadInt("Legion", DEFAULT_UNIT_COUNT), 5);
    EXPECT_EQ(m_settings.ReadInt(std::string("Legion") + MARCH_KEY_SUFFIX, DEFAULT_UNIT_MARCH), 1);
    EXPECT_EQ(m_settings.ReadInt(KEY_GAMMA, DEFAULT_GAMMA), 0);
    EXPECT_EQ(m_settings.ReadInt(KEY_PLAYMIDI, DEFAULT_PLAYMIDI), 1);
    EXPECT_EQ(m_settings.ReadString(KEY_MIDIFILEPATH, NO_FILE), "No File");
    EXPECT_FALSE(std::filesystem::exists(m_folder.Path() / "Tevrin"));
}

TEST_F(Settings, EachApplicationNameHasItsOwnFile)
{
    ParadeSettings other{m_registry, REGISTRY_KEY_NAME, ApplicationNameFromPath("C:\\Savers\\Other.scr")};
    m_settings.WriteInt(KEY_SPEED, 50);
    EXPECT_EQ(other.ReadInt(KEY_SPEED, DEFAULT_SPEED), 100);
    other.WriteInt(KEY_SPEED, 70);
    EXPECT_EQ(m_settings.ReadInt(KEY_SPEED, DEFAULT_SPEED), 50);
    EXPECT_TRUE(std::filesystem::exists(m_folder.Path() / "Tevrin" / "Other.reg"));
}

TEST(ApplicationNameFromPath, IsTheFileNameWithoutExtension)
{
    EXPECT_EQ(ApplicationNameFromPath("C:\\x\\Dovezi.scr"), "Dovezi");
    EXPECT_EQ(ApplicationNameFromPath("/usr/bin/Dovezi"), "Dovezi");
    EXPECT_EQ(ApplicationNameFromPath("Other.scr"), "Other");
    EXPECT_EQ(ApplicationNameFromPath("C:Dovezi.SCR"), "Dovezi");
    EXPECT_EQ(ApplicationNameFromPath("C:\\x/y\\My.Saver.scr"), "My.Saver");
    // A dot in a folder name is no extension of the file.
    EXPECT_EQ(ApplicationNameFromPath("/home/j.doe/bin/Dovezi"), "Dovezi");
}

TEST(UserConfigFolder, FollowsAnAbsoluteXdgConfigHomeElseHome)
{
    const TemporaryFolder home;
    const std::string homePath = home.Path().string();
    setenv("HOME", homePath.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (homePath + "/xdg").c_str(), 1);
    EXPECT_EQ(UserConfigFolder(), homePath + "/xdg");
    for (const char* ignored : {"relative/config", ""}) {
        setenv("XDG_CONFIG_HOME", ignored, 1);
        EXPECT_EQ(UserConfigFolder(), homePath + "/.config") << ignored;
    }
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserConfigFolder(), homePath + "/.config");
}

} // namespace
