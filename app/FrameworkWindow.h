// The framework's window class: owns a native window, routes its messages
// through the derived class's message map, ends the message loop when the
// application's main window goes, and lets the derived class delete itself
// after the last message.
#pragma once

#include "platform/Platform.h"

#include <memory>

class FrameworkWindow : public WindowProcedure {
public:
    explicit FrameworkWindow(Platform& platform);
    virtual ~FrameworkWindow();

    FrameworkWindow(const FrameworkWindow&) = delete;
    FrameworkWindow& operator=(const FrameworkWindow&) = delete;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) final;

    // The window whose destruction ends the message loop.
    void SetMainWindow(bool isMain) { m_bMainWindow = isMain; }
    // Null once the window is destroyed.
    NativeWindow* Native() { return m_pNative.get(); }

protected:
    // A window whose creation fails is not deleted by PostNcDestroy: the
    // creator still holds it and decides.
    bool CreateNative(DWORD exStyle, DWORD style, const RECT& rect, HWND parent);
    // The message map of the derived class.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after the last message; the place for self-deletion.
    virtual void PostNcDestroy() {}

    Platform& m_platform;

private:
    std::unique_ptr<NativeWindow> m_pNative;
    bool m_bMainWindow = false;
    bool m_bCreating = false;
};
