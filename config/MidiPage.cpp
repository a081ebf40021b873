#include "config/MidiPage.h"

#include "app/SettingsKeys.h"
#include "music/MidiDeviceChoice.h"
#include "res/resource.h"

#include <algorithm>

namespace {
constexpr int USER_FILE_ENTRY = 1;
constexpr const char* MIDI_FILE_FILTER = "MIDI Files (*.mid)|*.mid|All Files (*.*)|*.*||";
}

CMidiPage::CMidiPage(ParadeSettings& settings, Resources& resources, MidiOut& midiOut)
    : ConfigPage(IDD_MIDI_PAGE), m_settings(settings), m_resources(resources), m_midiOut(midiOut)
{
}

int CMidiPage::OnPageInit(PageControls& controls)
{
    ConfigPage::OnPageInit(controls);
    m_strSavedFilePath = m_settings.ReadString(KEY_MIDIFILEPATH, NO_FILE);
    FillDeviceList();
    FillFileList();
    m_nSavedPlay = m_settings.ReadInt(KEY_PLAYMIDI, DEFAULT_PLAYMIDI);
    Controls().SetCheck(IDC_PLAY_MUSIC, m_nSavedPlay);
    Controls().EnableControl(IDC_DEVICE_LIST, m_nSavedPlay != 0);
    Controls().EnableControl(IDC_SONG_LIST, m_nSavedPlay != 0);
    EnableBrowseFor(m_nSavedPlay);
    return 1;
}

void CMidiPage::FillDeviceList()
{
    Controls().ResetContent(IDC_DEVICE_LIST);
    m_devices.clear();
    const UINT count = m_midiOut.GetNumDevs();
    for (UINT id = 0; id < count; ++id) {
        std::string name;
        if (m_midiOut.GetDevName(id, name) != MMSYSERR_NOERROR)
            continue;
        Controls().AddString(IDC_DEVICE_LIST, name);
        m_devices.push_back(ListedDevice{id, name});
    }
    if (count == 0)
        return;
    m_nSavedDevice = m_settings.ReadInt(KEY_MIDI, DEFAULT_MIDI);
    m_strSavedDeviceName = m_settings.ReadString(KEY_MIDIDEVICENAME, DEFAULT_MIDIDEVICENAME);
    // The entry of the device the saver would play on.
    const UINT shown = FindMidiDevice(m_midiOut, static_cast<UINT>(*m_nSavedDevice), m_strSavedDeviceName);
    const auto entry = std::find_if(m_devices.begin(), m_devices.end(),
                                    [shown](const ListedDevice& device) { return device.id == shown; });
    const bool listed = entry != m_devices.end();
    Controls().SetCurSel(IDC_DEVICE_LIST, listed ? static_cast<int>(entry - m_devices.begin()) : -1);
}

void CMidiPage::FillFileList()
{
    Controls().ResetContent(IDC_SONG_LIST);
    Controls().AddString(IDC_SONG_LIST, m_resources.LoadString(IDS_SONG_BUILTIN));
    if (m_strSavedFilePath == NO_FILE)
        Controls().AddString(IDC_SONG_LIST, m_resources.LoadString(IDS_SONG_FILE));
    else
        Controls().AddString(IDC_SONG_LIST, m_strSavedFilePath);
    m_nSavedFileChoice = m_settings.ReadInt(KEY_MIDIFILE, DEFAULT_MIDIFILE);
    Controls().SetCurSel(IDC_SONG_LIST, m_nSavedFileChoice);
    OnFileChanged();
}

void CMidiPage::EnableBrowseFor(int playState)
{
    Controls().EnableControl(IDC_BROWSE, playState != 0 && Controls().GetCurSel(IDC_SONG_LIST) == USER_FILE_ENTRY);
}

void CMidiPage::OnCommand(int controlId, ControlNotice notice)
{
    if (controlId == IDC_PLAY_MUSIC && notice == ControlNotice::Clicked)
        OnPlayMusicClicked();
    else if (controlId == IDC_DEVICE_LIST && notice == ControlNotice::SelectionChanged)
        OnDeviceChanged();
    else if (controlId == IDC_SONG_LIST && notice == ControlNotice::SelectionChanged)
        OnFileChanged();
    else if (controlId == IDC_BROWSE && notice == ControlNotice::Clicked)
        OnBrowse();
}

void CMidiPage::OnPlayMusicClicked()
{
    const int state = Controls().GetCheck(IDC_PLAY_MUSIC);
    Controls().EnableControl(IDC_DEVICE_LIST, state != 0);
    Controls().EnableControl(IDC_SONG_LIST, state != 0);
    EnableBrowseFor(state);
    m_settings.WriteInt(KEY_PLAYMIDI, state);
}

void CMidiPage::OnDeviceChanged()
{
    const int selection = Controls().GetCurSel(IDC_DEVICE_LIST);
    if (selection < 0 || static_cast<std::size_t>(selection) >= m_devices.size())
        return;
    const ListedDevice& device = m_devices[selection];
    m_settings.WriteInt(KEY_MIDI, static_cast<int>(device.id));
    m_settings.WriteString(KEY_MIDIDEVICENAME, device.strName);
}

void CMidiPage::OnFileChanged()
{
    const int selection = Controls().GetCurSel(IDC_SONG_LIST);
    if (selection < 0)
        return;
    Controls().EnableControl(IDC_BROWSE, selection == USER_FILE_ENTRY);
    m_settings.WriteInt(KEY_MIDIFILE, selection);
}

void CMidiPage::OnBrowse()
{
    const std::string stored = m_settings.ReadString(KEY_MIDIFILEPATH, NO_FILE);
    OpenFileRequest request;
    request.strDefaultExt = "mid";
    request.strInitialName = stored == NO_FILE ? std::string() : stored;
    request.strFilter = MIDI_FILE_FILTER;
    request.bHideReadOnly = true;
    request.bOverwritePrompt = true;
    std::string path;
    if (!Controls().ChooseFileToOpen(request, path))
        return;
    m_settings.WriteString(KEY_MIDIFILEPATH, path);
    const int selection = Controls().GetCurSel(IDC_SONG_LIST);
    Controls().DeleteString(IDC_SONG_LIST, USER_FILE_ENTRY);
    Controls().AddString(IDC_SONG_LIST, path);
    Controls().SetCurSel(IDC_SONG_LIST, selection);
}

void CMidiPage::OnPageCancel()
{
    if (m_nSavedDevice) {
        m_settings.WriteInt(KEY_MIDI, *m_nSavedDevice);
        m_settings.WriteString(KEY_MIDIDEVICENAME, m_strSavedDeviceName);
    }
    m_settings.WriteInt(KEY_PLAYMIDI, m_nSavedPlay);
    m_settings.WriteInt(KEY_MIDIFILE, m_nSavedFileChoice);
    m_settings.WriteString(KEY_MIDIFILEPATH, m_strSavedFilePath);
}
