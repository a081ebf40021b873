#include "platform/x11/X11DisplayPower.h"

#include <X11/extensions/dpms.h>

namespace {
constexpr X11DisplayPower::Microseconds READING_PERIOD = 1000000;
}

X11DisplayPower::X11DisplayPower(Display* display) : m_pDisplay(display)
{
    int eventBase = 0;
    int errorBase = 0;
    m_bCapable = m_pDisplay != nullptr && DPMSQueryExtension(m_pDisplay, &eventBase, &errorBase) &&
                 DPMSCapable(m_pDisplay);
}

std::optional<X11DisplayPower::Microseconds> X11DisplayPower::NextDue() const
{
    if (!m_bCapable)
        return std::nullopt;
    return m_due;
}

std::optional<bool> X11DisplayPower::Poll(Microseconds now)
{
    if (!m_bCapable || now < m_due)
        return std::nullopt;
    m_due = now + READING_PERIOD;
    const bool on = ReadOn();
    if (on == m_bOn)
        return std::nullopt;
    m_bOn = on;
    return on;
}

bool X11DisplayPower::ReadOn() const
{
    CARD16 level = DPMSModeOn;
    BOOL enabled = False;
    // A monitor whose power management is switched off stays on.
    return !DPMSInfo(m_pDisplay, &level, &enabled) || !enabled || level == DPMSModeOn;
}
