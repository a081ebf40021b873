#include "music/MusicSource.h"

#include "app/ParadeSettings.h"
#include "app/SettingsKeys.h"
#include "music/MidiDeviceChoice.h"
#include "platform/Files.h"
#include "platform/Resources.h"
#include "res/resource.h"

namespace {

// Writes the song resource to `path`; true when the file there is now ours.
bool WriteBuiltInSong(const Resources& resources, Files& files, const std::string& path)
{
    if (!resources.Find(ResourceType::RcData, IDR_SONG))
        return false;
    const ResourceBlock song = resources.Load(ResourceType::RcData, IDR_SONG);
    return song.data != nullptr && files.WriteWholeFile(path, song.data, song.size);
}

} // namespace

SongChoice ChooseSong(const ParadeSettings& settings, const Resources& resources, Files& files)
{
    const std::string userPath = settings.ReadString(KEY_MIDIFILEPATH, NO_FILE);
    if (settings.ReadInt(KEY_MIDIFILE, DEFAULT_MIDIFILE) == 1 && userPath != NO_FILE)
        return SongChoice{userPath, false};
    return BuiltInSong(resources, files);
}

SongChoice BuiltInSong(const Resources& resources, Files& files)
{
    const std::string folder = files.TempFolder();
    if (folder.empty())
        return SongChoice{};
    SongChoice choice{files.TempFileName(folder, SONG_TEMP_PREFIX, SONG_TEMP_UNIQUE), false};
    if (!choice.strPath.empty())
        choice.bWrittenHere = WriteBuiltInSong(resources, files, choice.strPath);
    return choice;
}

UINT MusicDevice(const ParadeSettings& settings, MidiOut& midiOut)
{
    return FindMidiDevice(midiOut, static_cast<UINT>(settings.ReadInt(KEY_MIDI, DEFAULT_MIDI)),
                          settings.ReadString(KEY_MIDIDEVICENAME, DEFAULT_MIDIDEVICENAME));
}
