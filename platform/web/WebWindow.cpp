#include "platform/web/WebWindow.h"

#include "platform/web/WebBridge.h"

#include <cstdint>

namespace {
std::uintptr_t g_nextHandle = 0x10000;
}

MessageLoop::Microseconds WebNow() { return static_cast<MessageLoop::Microseconds>(web_now_ms() * 1000.0); }

WebWindow::WebWindow(MessageLoop& loop, WindowProcedure& procedure, WebScreen& screen, std::set<WebWindow*>& live)
    : QueuedWindow(loop, procedure), m_screen(screen), m_live(live)
{
    m_live.insert(this);
}

WebWindow::~WebWindow() { m_live.erase(this); }

void WebWindow::HideCursor() { web_hide_cursor(); }

HWND WebWindow::CreatePlatformWindow(DWORD, DWORD, const RECT& rect, HWND)
{
    m_client = RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    g_nextHandle += 4;
    return reinterpret_cast<HWND>(g_nextHandle);
}

std::unique_ptr<PaintSession> WebWindow::OpenPaintSession(std::vector<RECT> areas)
{
    return m_screen.OpenPaintSession(Handle(), m_client, std::move(areas));
}

MessageLoop::Microseconds WebWindow::Now() const { return WebNow(); }
