#include "platform/virtual/VirtualWindow.h"

#include "platform/virtual/BlankDeviceContext.h"
#include "platform/virtual/VirtualDisplay.h"

#include <cstdint>

namespace {
std::uintptr_t g_nextHandle = 0x10000;
}

VirtualWindow::VirtualWindow(MessageLoop& loop, WindowProcedure& procedure, const VirtualClock& clock,
                             VirtualDisplay* display, std::set<VirtualWindow*>& live)
    : QueuedWindow(loop, procedure), m_clock(clock), m_pDisplay(display), m_live(live)
{
    m_live.insert(this);
}

VirtualWindow::~VirtualWindow() { m_live.erase(this); }

HWND VirtualWindow::CreatePlatformWindow(DWORD exStyle, DWORD style, const RECT& rect, HWND parent)
{
    m_client = RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    m_style = style;
    m_exStyle = exStyle;
    m_parent = parent;
    g_nextHandle += 4;
    return reinterpret_cast<HWND>(g_nextHandle);
}

std::unique_ptr<PaintSession> VirtualWindow::OpenPaintSession(std::vector<RECT> areas)
{
    if (m_pDisplay == nullptr)
        return std::make_unique<BlankPaintSession>();
    return m_pDisplay->OpenPaintSession(Handle(), m_client, std::move(areas));
}

ShownRows VirtualWindow::LendRows(SIZE size, bool redFirst)
{
    return m_pDisplay != nullptr ? m_pDisplay->LendRows(m_client, size, redFirst) : ShownRows{};
}
