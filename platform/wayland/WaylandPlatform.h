// The Linux program on a Wayland compositor: the saver's window over every
// output, the message loop around the compositor's connection, the end
// signals turned into a normal close, and the outputs' power told to the
// saver. Settings, music and the sheet are those of the X11 program.
#pragma once

#include "platform/Platform.h"
#include "platform/posix/PosixFiles.h"
#include "platform/posix/WakeDescriptor.h"
#include "platform/queue/MessageLoop.h"
#include "platform/resources/EmbeddedResources.h"
#include "platform/sheet/SheetModuleHost.h"
#include "platform/sound/LinuxMidiOut.h"
#include "platform/wayland/OutputLayout.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandGraphics.h"

#include <memory>
#include <optional>
#include <set>

class WaylandWindow;

class WaylandPlatform : public Platform, public System {
public:
    WaylandPlatform(Registry& registry, std::unique_ptr<WaylandConnection> connection);
    ~WaylandPlatform() override;

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
    // The canvas that spans every output.
    RECT VirtualScreen() const override;
    HWND ForegroundWindow() const override;
    bool IsWindow(HWND window) const override;
    bool GetClientRect(HWND window, RECT& rect) const override;
    void ReportProblem(const std::string& text) override;
    bool ClaimMusic() override;

    // The host window of a display mode on the desktop's background: the
    // outputs' layout, where the compositor has the layer shell.
    static HWND BackgroundHost();

    // Bookkeeping of the windows alive in this process.
    void AddWindow(WaylandWindow& window);
    void RemoveWindow(WaylandWindow& window);

private:
    WaylandWindow* FindWindow(HWND window) const;
    void SendInputTo(WaylandWindow* window);
    void CloseOnSignal();
    // Posts WM_DISPLAY_POWER when the outputs' power as a whole has changed:
    // off once every output that tells its power is off.
    void TellPower();
    void WaitForWork();
    // The compositor is gone: the windows go through their destruction,
    // which stops the music and removes its files.
    int TearDown();

    Registry& m_registry;
    EmbeddedResources m_resources;
    SheetModuleHost m_dialogHost{m_resources};
    std::unique_ptr<WaylandConnection> m_connection;
    OutputLayout m_layout;
    WaylandGraphics m_graphics;
    MessageLoop m_loop;
    // Before the MIDI output, so that its threads end while it is open.
    WakeDescriptor m_wake;
    PosixFiles m_files;
    LinuxMidiOut m_midiOut;
    std::set<WaylandWindow*> m_windows;
    std::uintptr_t m_nNextHandle = 0x10;
    std::optional<bool> m_powerOn;
};
