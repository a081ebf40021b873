// The full-screen saver run whole on the in-memory platform, with its music
// on a recording device: the bench of the tests of the saver's music.
#pragma once

#include "app/ParadeApp.h"
#include "app/ParadeSettings.h"
#include "app/SettingsKeys.h"
#include "platform/posix/PosixFiles.h"
#include "platform/virtual/VirtualDisplay.h"
#include "platform/virtual/VirtualPlatform.h"
#include "res/resource.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/NoGraphics.h"
#include "tests/unit/player/PlayerKit.h"
#include "tests/unit/regfile/TemporaryFolder.h"

#include <filesystem>

namespace fs = std::filesystem;

// The full-screen saver on the in-memory platform with a private temporary
// folder and one recording MIDI device whose clock follows the platform's.
class SaverBench : public ::testing::Test {
protected:
    // Starts a new run of the saver, on a fresh platform whose clock begins
    // where the MIDI clock stands, showing the saver on `display` if given.
    void Start(VirtualDisplay* display = nullptr)
    {
        m_pApp.reset();
        Graphics& graphics = display != nullptr ? static_cast<Graphics&>(*display) : m_graphics;
        m_pPlatform = std::make_unique<VirtualPlatform>(m_registry, graphics, "/usr/bin/Dovezi", SIZE{1024, 768});
        if (display != nullptr)
            m_pPlatform->ShowOn(*display);
        m_pPlatform->Clock().AdvanceTo(m_clock.Now());
        m_pPlatform->UseFiles(m_files);
        m_pPlatform->UseMidiOut(
            m_midiOut,
            [this](std::int64_t now) {
                m_clock.AdvanceTo(now);
                m_host.WaitUntilIdle();
            },
            [this] { return m_clock.NextDeadline(); });
        m_pApp = std::make_unique<ParadeApp>(*m_pPlatform);
        ASSERT_EQ(m_pApp->Initialize({"/usr/bin/Dovezi", "/s"}), 1);
    }
    // Runs the saver for `milliseconds` more, in steps of 50 ms.
    void Run(int milliseconds)
    {
        const std::int64_t end = m_pPlatform->Clock().NowMicroseconds() + milliseconds * 1000;
        while (m_pPlatform->Clock().NowMicroseconds() < end)
            m_pPlatform->RunUntil(std::min(end, m_pPlatform->Clock().NowMicroseconds() + 50'000));
    }
    void Close()
    {
        VirtualWindow* window = m_pPlatform->LastWindow();
        ASSERT_NE(window, nullptr);
        window->Post(WM_CLOSE, 0, 0);
        EXPECT_TRUE(m_pPlatform->RunUntil(m_pPlatform->Clock().NowMicroseconds()));
        EXPECT_EQ(m_pPlatform->LastWindow(), nullptr);
    }
    void UseSongFile(int choice, const std::string& path)
    {
        m_settings.WriteInt(KEY_MIDIFILE, choice);
        m_settings.WriteString(KEY_MIDIFILEPATH, path);
    }
    fs::path Folder() const { return m_folder.Path(); }
    fs::path TempSong() const { return m_folder.Path() / "Tvnc.tmp"; }
    std::string BuiltInSong()
    {
        const ResourceBlock song = EmbeddedResources().Load(ResourceType::RcData, IDR_SONG);
        return std::string(reinterpret_cast<const char*>(song.data), song.size);
    }
    fs::path WriteUserSong(const std::string& name, const Bytes& song)
    {
        const fs::path path = Folder() / name;
        WriteWholeFile(path, std::string(song.begin(), song.end()));
        return path;
    }
    std::size_t NotesHeard()
    {
        std::size_t notes = 0;
        for (const SentEvent& event : m_devices.Output(0).Events())
            notes += (event.message & 0xF0) == 0x90;
        return notes;
    }

    Watchdog m_watchdog{60};
    TemporaryFolder m_folder;
    MemoryRegistry m_registry;
    ParadeSettings m_settings{m_registry, REGISTRY_KEY_NAME, "Dovezi"};
    NoGraphics m_graphics;
    VirtualMidiStreamClock m_clock;
    RecordingDevices m_devices{1};
    MidiStreamHost m_host{m_clock, m_devices};
    SpyMidiOut m_midiOut{m_host};
    PosixFiles m_files{m_folder.Path().string() + "/"};
    std::unique_ptr<VirtualPlatform> m_pPlatform;
    std::unique_ptr<ParadeApp> m_pApp;
};
