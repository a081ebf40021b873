// Everything the core asks of the operating system, one seam each.
#pragma once

#include "platform/DialogHost.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/MidiOut.h"
#include "platform/Registry.h"
#include "platform/Resources.h"
#include "platform/System.h"
#include "platform/Window.h"

#include <memory>

class Platform {
public:
    virtual ~Platform() = default;

    virtual Resources& GetResources() = 0;
    virtual Registry& GetRegistry() = 0;
    virtual Graphics& GetGraphics() = 0;
    virtual System& GetSystem() = 0;
    virtual Files& GetFiles() = 0;
    virtual MidiOut& GetMidiOut() = 0;
    // Posting to windows from threads other than the user interface's.
    virtual WindowPoster& GetWindowPoster() = 0;
    virtual DialogHost& GetDialogHost() = 0;

    // The three-dimensional drawing of dialog controls; a no-op where the
    // dialog framework has no such service.
    virtual void EnableDialogControls3d() = 0;

    // A new, not yet created window that delivers its messages to `procedure`.
    virtual std::unique_ptr<NativeWindow> NewWindow(WindowProcedure& procedure) = 0;
    // Runs the message loop until a quit request; returns its exit code.
    virtual int RunMessageLoop() = 0;
};
