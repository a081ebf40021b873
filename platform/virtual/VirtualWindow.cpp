#include "platform/virtual/VirtualWindow.h"

#include <cstdint>

namespace {
std::uintptr_t g_nextHandle = 0x10000;
}

VirtualWindow::VirtualWindow(MessageLoop& loop, WindowProcedure& procedure, const VirtualClock& clock,
                             PaintFactory paint, std::set<VirtualWindow*>& live)
    : QueuedWindow(loop, procedure), m_clock(clock), m_paint(std::move(paint)), m_live(live)
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
    return m_paint(Handle(), m_client, std::move(areas));
}
