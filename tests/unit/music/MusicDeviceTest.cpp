#include "app/ParadeSettings.h"
#include "app/SettingsKeys.h"
#include "music/MusicSource.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/NamedMidiDevices.h"

#include <gtest/gtest.h>

namespace {

class StoredDevice : public ::testing::Test {
protected:
    // The device chosen with the devices of one run, in id order.
    UINT ChosenAmong(std::vector<std::string> names)
    {
        m_devices.m_names = std::move(names);
        return MusicDevice(m_settings, m_devices);
    }

    MemoryRegistry m_registry;
    ParadeSettings m_settings{m_registry, REGISTRY_KEY_NAME, "Dovezi"};
    NamedMidiDevices m_devices;
};

TEST_F(StoredDevice, TheStoredNameFindsItsDeviceWhereverItIsAndTheNumberServesWhenNoneBearsIt)
{
    m_settings.WriteInt(KEY_MIDI, 2);
    EXPECT_EQ(ChosenAmong({"Keys", "Synth", "Through"}), 2u) << "no name stored";

    m_settings.WriteString(KEY_MIDIDEVICENAME, "Keys");
    EXPECT_EQ(ChosenAmong({"Synth", "Keys", "Through"}), 1u) << "plugged into another socket";
    EXPECT_EQ(ChosenAmong({"Keys"}), 0u) << "the number is gone, the name is not";
    EXPECT_EQ(ChosenAmong({"Synth", "Through", "Drums", "Bass"}), 2u) << "unplugged";
    EXPECT_EQ(ChosenAmong({"Synth", "Through", "keys"}), 2u) << "a name matches exactly or not at all";

    m_settings.WriteString(KEY_MIDIDEVICENAME, "");
    EXPECT_EQ(ChosenAmong({"", "Synth", "Through"}), 2u) << "an empty name";
}

TEST_F(StoredDevice, OfDevicesThatShareANameTheStoredNumberIsKeptWhileItBearsTheName)
{
    m_settings.WriteInt(KEY_MIDI, 2);
    m_settings.WriteString(KEY_MIDIDEVICENAME, "Keys");
    EXPECT_EQ(ChosenAmong({"Synth", "Keys", "Keys"}), 2u);
    EXPECT_EQ(ChosenAmong({"Keys", "Synth", "Through", "Keys"}), 0u) << "else the first that bears it";
}

} // namespace
