// The in-memory platform: windows over a message loop driven by a virtual
// clock, with input delivered by the caller. Tests and the record mode run
// the program on it.
#pragma once

#include "platform/Platform.h"
#include "platform/posix/PosixFiles.h"
#include "platform/queue/MessageLoop.h"
#include "platform/resources/EmbeddedResources.h"
#include "platform/stream/MidiStreamHost.h"
#include "platform/virtual/VirtualClock.h"
#include "platform/virtual/VirtualDialogHost.h"
#include "platform/virtual/VirtualWindow.h"

#include <functional>
#include <map>
#include <string>

class VirtualDisplay;

class VirtualPlatform : public Platform, public System {
public:
    VirtualPlatform(Registry& registry, Graphics& graphics, std::string modulePath, SIZE screen);

    Resources& GetResources() override { return m_resources; }
    Registry& GetRegistry() override { return m_registry; }
    Graphics& GetGraphics() override { return m_graphics; }
    System& GetSystem() override { return *this; }
    Files& GetFiles() override { return *m_pFiles; }
    MidiOut& GetMidiOut() override { return *m_pMidiOut; }
    WindowPoster& GetWindowPoster() override { return m_loop; }
    DialogHost& GetDialogHost() override { return m_dialogHost; }
    void EnableDialogControls3d() override {}
    std::unique_ptr<NativeWindow> NewWindow(WindowProcedure& procedure) override;
    // Runs until a quit request; when nothing is left to do, the clock jumps
    // to the next timer. Returns the quit code, or -1 when no timer is left.
    int RunMessageLoop() override;

    // Delivers due messages and timers until the clock reaches `until` or a
    // quit is requested. True when a quit was requested.
    bool RunUntil(std::int64_t untilMicroseconds);

    std::string ModulePath() const override { return m_strModulePath; }
    RECT VirtualScreen() const override { return RECT{0, 0, m_screen.cx, m_screen.cy}; }
    HWND ForegroundWindow() const override { return m_foreground; }
    bool IsWindow(HWND window) const override;
    bool GetClientRect(HWND window, RECT& rect) const override;
    void ReportProblem(const std::string& text) override;
    bool ClaimMusic() override { return true; }

    // A window of another program, e.g. a host's preview window.
    HWND AddHostWindow(const RECT& client);
    void RemoveHostWindow(HWND window);
    void SetForegroundWindow(HWND window) { m_foreground = window; }
    // The monitor's power as the system would report it: each change is
    // posted to every top-level window as WM_DISPLAY_POWER.
    void SetDisplayPower(bool on);

    // The most recently created window of this program while it lives.
    VirtualWindow* LastWindow() const { return m_liveWindows.count(m_pLastWindow) ? m_pLastWindow : nullptr; }
    MessageLoop& Loop() { return m_loop; }
    // What the program uses instead of the user's temporary folder and a
    // MIDI output without devices. `advanceClock` moves the output's own
    // clock with the platform's and returns once the output has done all
    // that is due by then; `nextDue`, when given, tells when the output has
    // something to do next, so that the clock stops there too.
    void UseFiles(Files& files) { m_pFiles = &files; }
    void UseMidiOut(MidiOut& midiOut, std::function<void(std::int64_t)> advanceClock,
                    std::function<std::int64_t()> nextDue = {})
    {
        m_pMidiOut = &midiOut;
        m_advanceMidiClock = std::move(advanceClock);
        m_nextMidiDue = std::move(nextDue);
    }
    VirtualDialogHost& Dialogs() { return m_dialogHost; }
    VirtualClock& Clock() { return m_clock; }

    // Windows made from now on paint on `display` (by default they draw nothing).
    void ShowOn(VirtualDisplay& display) { m_pDisplay = &display; }

private:
    class NoMidiDevices : public MidiStreamDevices {
    public:
        UINT Count() override { return 0; }
        std::string Name(UINT) override { return {}; }
        MidiStreamOutput* Open(UINT) override { return nullptr; }
    };

    bool DeliverOne();
    void AdvanceClock(std::int64_t microseconds);

    Registry& m_registry;
    Graphics& m_graphics;
    EmbeddedResources m_resources;
    VirtualDialogHost m_dialogHost{m_resources};
    MessageLoop m_loop;
    VirtualClock m_clock;
    PosixFiles m_files;
    Files* m_pFiles = &m_files;
    VirtualMidiStreamClock m_midiClock;
    NoMidiDevices m_noMidiDevices;
    MidiStreamHost m_noMidi{m_midiClock, m_noMidiDevices};
    MidiOut* m_pMidiOut = &m_noMidi;
    std::function<void(std::int64_t)> m_advanceMidiClock;
    std::function<std::int64_t()> m_nextMidiDue;
    std::string m_strModulePath;
    SIZE m_screen;
    HWND m_foreground = nullptr;
    bool m_bDisplayOn = true;
    std::map<HWND, RECT> m_hostWindows;
    std::uintptr_t m_nextHostHandle = 0x7000;
    VirtualWindow* m_pLastWindow = nullptr;
    std::set<VirtualWindow*> m_liveWindows;
    VirtualDisplay* m_pDisplay = nullptr;
};
