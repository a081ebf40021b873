// The system seam: the module's own path, temporary files, process start
// and the foreground window.
#pragma once

#include "platform/WinApi.h"

#include <string>

class System {
public:
    virtual ~System() = default;

    // The full path of the running module.
    virtual std::string ModulePath() const = 0;
    // The virtual screen, which spans every monitor, in screen coordinates
    // (GetSystemMetrics SM_XVIRTUALSCREEN, SM_YVIRTUALSCREEN, SM_CXVIRTUALSCREEN,
    // SM_CYVIRTUALSCREEN); its origin is negative when a monitor lies left of
    // or above the primary one.
    virtual RECT VirtualScreen() const = 0;
    // The window that has the user's attention now, or none.
    virtual HWND ForegroundWindow() const = 0;
    // True when the handle names an existing window.
    virtual bool IsWindow(HWND window) const = 0;
    // True when this process may play music: one saver of a user sounds at
    // a time, and the claim lasts until the process ends.
    virtual bool ClaimMusic() = 0;
    // GetClientRect of any window; false when it is not a window.
    virtual bool GetClientRect(HWND window, RECT& rect) const = 0;
    // Tells `text`, one sentence, where a program without a window of its
    // own reports (standard error, or the debugger's output).
    virtual void ReportProblem(const std::string& text) = 0;
};
