// The MIDI page: music on or off, the output device, and the built-in
// song or a MIDI file of the user's.
#pragma once

#include "app/ParadeSettings.h"
#include "config/ConfigPage.h"
#include "platform/MidiOut.h"
#include "platform/Resources.h"

#include <optional>
#include <string>
#include <vector>

class CMidiPage : public ConfigPage {
public:
    CMidiPage(ParadeSettings& settings, Resources& resources, MidiOut& midiOut);

    int OnPageInit(PageControls& controls) override;
    void OnCommand(int controlId, ControlNotice notice) override;
    void OnPageCancel() override;

    void OnPlayMusicClicked();
    void OnDeviceChanged();
    void OnFileChanged();
    void OnBrowse();

private:
    void FillDeviceList();
    void FillFileList();
    void EnableBrowseFor(int playState);

    ParadeSettings& m_settings;
    Resources& m_resources;
    MidiOut& m_midiOut;
    struct ListedDevice {
        UINT id;
        std::string strName;
    };
    // The device behind each entry of the device list: devices whose query
    // fails are not listed, so positions and ids can differ.
    std::vector<ListedDevice> m_devices;

    // Restore copy. The device's number and name are recorded only when
    // devices exist.
    std::optional<int> m_nSavedDevice;
    std::string m_strSavedDeviceName;
    int m_nSavedPlay = 0;
    int m_nSavedFileChoice = 0;
    std::string m_strSavedFilePath;
};
