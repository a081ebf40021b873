// The Windows platform: each seam is the Win32 API it is named after.
#pragma once

#include "platform/Platform.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Graphics.h"
#include "platform/win32/Win32MidiOut.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SheetHost.h"
#include "platform/win32/Win32Resources.h"

class Win32Platform : public Platform, public System, public WindowPoster {
public:
    explicit Win32Platform(HINSTANCE instance);

    Resources& GetResources() override { return m_resources; }
    Registry& GetRegistry() override { return m_registry; }
    Graphics& GetGraphics() override { return m_graphics; }
    System& GetSystem() override { return *this; }
    Files& GetFiles() override { return m_files; }
    MidiOut& GetMidiOut() override { return m_midiOut; }
    WindowPoster& GetWindowPoster() override { return *this; }
    DialogHost& GetDialogHost() override { return m_dialogHost; }
    void EnableDialogControls3d() override;
    std::unique_ptr<NativeWindow> NewWindow(WindowProcedure& procedure) override;
    int RunMessageLoop() override;

    std::string ModulePath() const override;
    RECT VirtualScreen() const override { return VirtualScreenRect(); }
    HWND ForegroundWindow() const override { return ::GetForegroundWindow(); }
    bool IsWindow(HWND window) const override { return ::IsWindow(window) != FALSE; }
    bool GetClientRect(HWND window, RECT& rect) const override { return ::GetClientRect(window, &rect) != FALSE; }
    void ReportProblem(const std::string& text) override;
    // The system runs one screen saver at a time.
    bool ClaimMusic() override { return true; }

    bool PostToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        return ::PostMessageA(window, message, wParam, lParam) != FALSE;
    }

private:
    HINSTANCE m_hInstance;
    Win32Resources m_resources;
    Win32Registry m_registry;
    Win32Graphics m_graphics;
    Win32Files m_files;
    Win32MidiOut m_midiOut;
    Win32SheetHost m_dialogHost{m_hInstance};
};
