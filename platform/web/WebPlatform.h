// The platform of the page. The browser's event loop drives everything:
// the page calls Pump when something falls due (a posted message, a paint,
// a timer, an event of the music), and Pump says when to call it next, so
// the page never waits in a loop of its own. Each run of the saver, full
// screen or in the start screen's preview, gets a new loop and a new screen.
#pragma once

#include "platform/Platform.h"
#include "platform/posix/PosixFiles.h"
#include "platform/queue/MessageLoop.h"
#include "platform/resources/EmbeddedResources.h"
#include "platform/web/WebMidiDevices.h"
#include "platform/web/WebMidiOut.h"
#include "platform/web/WebRegistry.h"
#include "platform/web/WebScreen.h"
#include "platform/web/WebSheetHost.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>

class WebWindow;

class WebPlatform : public Platform, public System {
public:
    WebPlatform();

    Resources& GetResources() override { return m_resources; }
    Registry& GetRegistry() override { return m_registry; }
    Graphics& GetGraphics() override { return m_screen; }
    System& GetSystem() override { return *this; }
    Files& GetFiles() override { return m_files; }
    MidiOut& GetMidiOut() override { return m_midiOut; }
    WindowPoster& GetWindowPoster() override { return *m_loop; }
    DialogHost& GetDialogHost() override { return m_sheetHost; }
    void EnableDialogControls3d() override {}
    std::unique_ptr<NativeWindow> NewWindow(WindowProcedure& procedure) override;
    // A page cannot wait in a loop: it pumps this platform instead, and
    // this returns -1 at once.
    int RunMessageLoop() override { return -1; }

    std::string ModulePath() const override;
    RECT VirtualScreen() const override;
    HWND ForegroundWindow() const override { return nullptr; }
    bool IsWindow(HWND window) const override;
    // The page is one saver; it always may sound.
    bool ClaimMusic() override { return true; }
    // The only window of another program on the page is the preview host.
    bool GetClientRect(HWND window, RECT& client) const override;
    void ReportProblem(const std::string& text) override;

    // The start screen's picture of a monitor, which holds the preview
    // window while a preview runs.
    static HWND PreviewHost();
    // A new run of the loop on a screen of `size` showing `picture` (the
    // generated desktop when it is empty), with a preview host of
    // `hostClient` pixels when that is not empty.
    void BeginRun(SIZE size, const RgbPicture& picture, SIZE hostClient = SIZE{0, 0});
    // The preview host is gone, and every window of the run with it.
    void DestroyHost();
    // The user's input, to every window of the run.
    void PostInput(UINT message, WPARAM wParam, LPARAM lParam);
    // Delivers what is due, for a few milliseconds at most. True once the
    // run has ended with a quit request.
    bool Pump();
    // Milliseconds until something falls due; -1 when nothing will.
    double NextDelayMs() const;
    // The page's frame measure: the ticks of the march in all runs (timer
    // messages delivered), and the time spent in them and in the paints.
    unsigned long Ticks() const { return m_ticks; }
    MessageLoop::Microseconds FrameMicroseconds() const { return m_frameMicroseconds; }

private:
    EmbeddedResources m_resources;
    WebRegistry m_registry;
    WebScreen m_screen;
    PosixFiles m_files;
    WebMidiDevices m_midiDevices;
    WebMidiOut m_midiOut;
    WebSheetHost m_sheetHost;
    // Made anew for each run.
    std::optional<MessageLoop> m_loop;
    std::set<WebWindow*> m_windows;
    SIZE m_size{0, 0};
    SIZE m_hostClient{0, 0};
    unsigned long m_ticks = 0;
    MessageLoop::Microseconds m_frameMicroseconds = 0;
};
