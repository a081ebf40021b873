#include "platform/idle/X11Idle.h"

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>
#include <X11/extensions/scrnsaver.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {
// Once idle has been told, input is looked for at this rate.
constexpr std::uint64_t kRereadMs = 1000;
}

std::unique_ptr<X11Idle> X11Idle::Open(std::uint32_t timeoutMs, std::string& why)
{
    std::unique_ptr<X11Idle> idle(new X11Idle(timeoutMs));
    idle->m_pDisplay = XOpenDisplay(nullptr);
    if (idle->m_pDisplay == nullptr) {
        const char* name = std::getenv("DISPLAY");
        why = std::string("the X display \"") + (name != nullptr ? name : "") + "\" cannot be opened";
        return nullptr;
    }
    int eventBase = 0;
    int errorBase = 0;
    if (!XScreenSaverQueryExtension(idle->m_pDisplay, &eventBase, &errorBase)) {
        why = "the X server has no screen-saver extension";
        return nullptr;
    }
    XSetIOErrorHandler(OnConnectionLost);
    idle->m_nIdleMs = idle->ReadIdleMs();
    return idle;
}

X11Idle::~X11Idle()
{
    if (m_pDisplay != nullptr)
        XCloseDisplay(m_pDisplay);
}

int X11Idle::OnConnectionLost(Display*)
{
    std::fputs("Dovezi: the X display went away\n", stderr);
    _exit(1);
}

bool X11Idle::IsInhibited(int state)
{
    // A suspended saver reads as disabled; so does one the user turned
    // off (a timeout of 0), which is no inhibition.
    if (state == ScreenSaverDisabled) {
        int timeout = 0;
        int interval = 0;
        int blanking = 0;
        int exposures = 0;
        XGetScreenSaver(m_pDisplay, &timeout, &interval, &blanking, &exposures);
        if (timeout > 0)
            return true;
    }
    int eventBase = 0;
    int errorBase = 0;
    if (!DPMSQueryExtension(m_pDisplay, &eventBase, &errorBase) || !DPMSCapable(m_pDisplay))
        return false;
    CARD16 level = DPMSModeOn;
    BOOL enabled = False;
    return DPMSInfo(m_pDisplay, &level, &enabled) && enabled && level != DPMSModeOn;
}

std::uint64_t X11Idle::ReadIdleMs()
{
    XScreenSaverInfo info{};
    if (!XScreenSaverQueryInfo(m_pDisplay, DefaultRootWindow(m_pDisplay), &info) || IsInhibited(info.state))
        return 0;
    return info.idle;
}

IdleWait X11Idle::Wait()
{
    XFlush(m_pDisplay);
    const std::uint64_t left = m_nIdleMs < m_nTimeoutMs ? m_nTimeoutMs - m_nIdleMs : kRereadMs;
    return {ConnectionNumber(m_pDisplay), POLLIN, static_cast<int>(std::clamp<std::uint64_t>(left, 1, kRereadMs))};
}

IdleNews X11Idle::Read(short revents)
{
    if (revents & POLLIN)
        while (XPending(m_pDisplay) > 0) {
            XEvent event;
            XNextEvent(m_pDisplay, &event);
        }
    m_nIdleMs = ReadIdleMs();
    if (m_nIdleMs < m_nTimeoutMs) {
        m_bTold = false;
        return IdleNews::Nothing;
    }
    if (m_bTold)
        return IdleNews::Nothing;
    m_bTold = true;
    return IdleNews::BecameIdle;
}
