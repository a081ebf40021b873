// The player's test bench: songs built in memory, files held in memory, a
// window poster that takes down what it is given, and a MIDI output that
// watches (and on request refuses) the calls on their way to a stream host.
#pragma once

#include "music/MidiStreamPlayer.h"
#include "platform/Files.h"
#include "tests/unit/music/SmfTestWriter.h"
#include "tests/unit/streamthreads/StreamHarness.h"

#include <atomic>
#include <map>

// Division 96 at the default tempo: a tick lasts 5,208 us.
constexpr DWORD TEST_DIVISION = 96;
constexpr std::int64_t MICROSECONDS_PER_TICK = 500000 / TEST_DIVISION;

// One track of `notes` notes of `length` ticks, one after another from
// tick 0 on channel 1: two short events each.
inline Bytes NotesSong(int notes, DWORD length = 24)
{
    Bytes track;
    for (int note = 0; note < notes; ++note) {
        const BYTE key = static_cast<BYTE>(40 + note % 40);
        track = Join({track, At(0, {0x90, key, 100}), At(length, {0x80, key, 0})});
    }
    return Song({Join({track, EndOfTrack()})}, 0, TEST_DIVISION);
}

// Two tracks that hold nothing but their ends, at tick 0.
inline Bytes EmptySong()
{
    return Song({EndOfTrack(), EndOfTrack()}, 1, TEST_DIVISION);
}

class MemoryFiles : public Files {
public:
    FileReadResult ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<BYTE>& bytes) override
    {
        const auto file = m_files.find(path);
        if (file == m_files.end())
            return FileReadResult::OpenFailed;
        if (file->second.size() > maxBytes)
            return FileReadResult::TooLarge;
        bytes = file->second;
        return FileReadResult::Ok;
    }
    std::string TempFolder() override { return "memory/"; }
    std::string TempFileName(const std::string& folder, const std::string& prefix, UINT unique) override
    {
        return folder + prefix + std::to_string(unique);
    }
    bool WriteWholeFile(const std::string& path, const BYTE* data, std::size_t size) override
    {
        m_files[path].assign(data, data + size);
        return true;
    }
    bool RemoveFile(const std::string& path) override { return m_files.erase(path) != 0; }

    std::map<std::string, Bytes> m_files;
};

struct PostedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class RecordingPoster : public WindowPoster {
public:
    bool PostToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_posted.push_back({window, message, wParam, lParam});
        return true;
    }
    std::vector<PostedMessage> Posted() const
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_posted;
    }
    std::size_t Count() const { return Posted().size(); }

private:
    mutable std::mutex m_mutex;
    std::vector<PostedMessage> m_posted;
};

// Passes every call on, notes the opens and the buffers queued (with the
// bytes they carried), and refuses the queueing numbered `failQueueAt`
// (from 1) or the time-division property when told to.
class SpyMidiOut : public MidiOut {
public:
    explicit SpyMidiOut(MidiOut& inner) : m_inner(inner) {}

    UINT GetNumDevs() override { return m_inner.GetNumDevs(); }
    MMRESULT GetDevName(UINT id, std::string& name) override { return m_inner.GetDevName(id, name); }
    MMRESULT StreamOpen(HMIDISTRM* stream, UINT id, MidiStreamCallback callback, DWORD_PTR instance) override
    {
        ++opens;
        return m_inner.StreamOpen(stream, id, callback, instance);
    }
    MMRESULT StreamProperty(HMIDISTRM stream, BYTE* data, DWORD property) override
    {
        if (refuseProperty)
            return MMSYSERR_ERROR;
        return m_inner.StreamProperty(stream, data, property);
    }
    MMRESULT PrepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT size) override
    {
        return m_inner.PrepareHeader(stream, header, size);
    }
    MMRESULT UnprepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT size) override
    {
        return m_inner.UnprepareHeader(stream, header, size);
    }
    MMRESULT StreamOut(HMIDISTRM stream, MIDIHDR* header, UINT size) override
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_queued.push_back({header, header->dwBytesRecorded});
        }
        if (++queueings == failQueueAt)
            return MMSYSERR_NOMEM;
        return m_inner.StreamOut(stream, header, size);
    }
    MMRESULT ShortMsg(HMIDISTRM stream, DWORD message) override { return m_inner.ShortMsg(stream, message); }
    MMRESULT StreamRestart(HMIDISTRM stream) override { return m_inner.StreamRestart(stream); }
    MMRESULT StreamPause(HMIDISTRM stream) override { return m_inner.StreamPause(stream); }
    MMRESULT StreamStop(HMIDISTRM stream) override { return m_inner.StreamStop(stream); }
    MMRESULT Reset(HMIDISTRM stream) override { return m_inner.Reset(stream); }
    MMRESULT StreamClose(HMIDISTRM stream) override
    {
        ++closes;
        return m_inner.StreamClose(stream);
    }

    struct Queued {
        MIDIHDR* header;
        DWORD bytes;
    };
    std::vector<Queued> QueuedBuffers() const
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_queued;
    }

    std::atomic<int> opens{0};
    std::atomic<int> closes{0};
    std::atomic<int> queueings{0};
    std::atomic<int> failQueueAt{0};
    std::atomic<bool> refuseProperty{false};

private:
    MidiOut& m_inner;
    mutable std::mutex m_mutex;
    std::vector<Queued> m_queued;
};

// The headers on the player's free list, head first.
inline std::vector<MIDIHDR*> FreeList(const MidiStreamPlayer& player)
{
    std::vector<MIDIHDR*> free;
    for (MIDIHDR* header = player.StateRecord()->m_pFreeList; header; header = header->lpNext)
        free.push_back(header);
    return free;
}

inline const HWND TEST_OWNER = reinterpret_cast<HWND>(0x4242);

// A player on a stream host with one recording device and a virtual clock.
class PlayerBench : public ::testing::Test {
protected:
    // Sets the player up and loads the song; false when it does not load.
    bool Load(const Bytes& song)
    {
        m_files.m_files["song.mid"] = song;
        return (m_player.StateRecord() || m_player.Setup(TEST_OWNER)) && m_player.OpenFile("song.mid");
    }
    void AdvanceTo(std::int64_t microseconds)
    {
        m_clock.AdvanceTo(microseconds);
        m_host.WaitUntilIdle();
    }
    // Plays the whole loaded song from the clock's present time to its end.
    void PlayThrough(std::int64_t microseconds)
    {
        ASSERT_TRUE(m_player.Play(0));
        ASSERT_EQ(m_player.Restart(), 0u);
        AdvanceTo(m_clock.Now() + microseconds);
    }
    std::size_t DoneCount() const
    {
        std::size_t done = 0;
        for (const PostedMessage& posted : m_poster.Posted())
            done += posted.message == WM_MUSIC_DONE;
        return done;
    }
    // The note messages that reached the device (silencing controllers left out).
    std::vector<SentEvent> Notes() const
    {
        std::vector<SentEvent> notes;
        for (const SentEvent& event : m_devices.Output(0).Events())
            if ((event.message & 0xE0) == 0x80)
                notes.push_back(event);
        return notes;
    }
    bool Silenced() const
    {
        for (const SentEvent& event : m_devices.Output(0).Events())
            if ((event.message & 0xFFF0) == ((123u << 8) | 0xB0))
                return true;
        return false;
    }

    Watchdog m_watchdog;
    VirtualMidiStreamClock m_clock;
    mutable RecordingDevices m_devices{1};
    MidiStreamHost m_host{m_clock, m_devices};
    SpyMidiOut m_midiOut{m_host};
    MemoryFiles m_files;
    RecordingPoster m_poster;
    MidiStreamPlayer m_player{m_midiOut, m_files, m_poster};
};
