// The Linux platform: windows on the X display, the message loop around
// the X connection, the end signals turned into a normal close, and the
// monitor's power told to the full-screen windows.
#pragma once

#include "platform/Platform.h"
#include "platform/posix/PosixFiles.h"
#include "platform/posix/WakeDescriptor.h"
#include "platform/queue/MessageLoop.h"
#include "platform/resources/EmbeddedResources.h"
#include "platform/sheet/SheetModuleHost.h"
#include "platform/sound/LinuxMidiOut.h"
#include "platform/x11/X11Display.h"
#include "platform/x11/X11DisplayPower.h"
#include "platform/x11/X11Graphics.h"

#include <optional>
#include <set>

class X11Window;

class X11Platform : public Platform, public System {
public:
    explicit X11Platform(Registry& registry);
    ~X11Platform() override;

    Resources& GetResources() override { return m_resources; }
    Registry& GetRegistry() override { return m_registry; }
    Graphics& GetGraphics() override { return m_graphics; }
    System& GetSystem() override { return *this; }
    Files& GetFiles() override { return m_files; }
    MidiOut& GetMidiOut() override { return m_midiOut; }
    WindowPoster& GetWindowPoster() override { return m_loop; }
    DialogHost& GetDialogHost() override { return m_dialogHost; }
    void EnableDialogControls3d() override {}
    std::unique_ptr<NativeWindow> NewWindow(WindowProcedure& procedure) override;
    int RunMessageLoop() override;

    std::string ModulePath() const override;
    // The X screen, which spans every monitor.
    RECT VirtualScreen() const override;
    HWND ForegroundWindow() const override;
    bool IsWindow(HWND window) const override;
    bool GetClientRect(HWND window, RECT& rect) const override;
    void ReportProblem(const std::string& text) override;
    bool ClaimMusic() override;

    X11Display& XDisplay() { return m_display; }
    X11Graphics& XGraphics() { return m_graphics; }

    // Bookkeeping of the X11 windows alive in this process.
    void AddWindow(X11Window& window);
    void RemoveWindow(X11Window& window);

private:
    void ReadXEvents();
    void CloseOnSignal();
    bool HasFullScreenWindow() const;
    // Posts WM_DISPLAY_POWER to the full-screen windows when the monitor's
    // power has changed.
    void WatchDisplayPower();
    // When the loop must wake at the latest: a timer or a power reading.
    std::optional<MessageLoop::Microseconds> NextWakeUp() const;
    void WaitForWork();

    Registry& m_registry;
    EmbeddedResources m_resources;
    SheetModuleHost m_dialogHost{m_resources};
    mutable X11Display m_display;
    X11Graphics m_graphics;
    MessageLoop m_loop;
    X11DisplayPower m_power{m_display.Get()};
    // Before the MIDI output, so that its threads end while it is open.
    WakeDescriptor m_wake;
    PosixFiles m_files;
    LinuxMidiOut m_midiOut;
    std::set<X11Window*> m_windows;
};
