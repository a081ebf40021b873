#include "platform/web/WebScreen.h"

#include "platform/web/WebBridge.h"
#include "platform/virtual/FillScreen.h"
#include "platform/virtual/GeneratedDesktop.h"

class WebPaintSession : public PaintSession {
public:
    explicit WebPaintSession(WebScreen& screen) : m_screen(screen) {}
    ~WebPaintSession() override
    {
        m_drawing.reset();
        m_screen.Present(m_written);
    }

    void Open(HWND window, const RECT& client, std::vector<RECT> areas)
    {
        m_drawing = m_screen.m_display->OpenPaintSession(window, client, std::move(areas), &m_written);
    }

    DeviceContext& Context() override { return m_drawing->Context(); }

private:
    WebScreen& m_screen;
    std::unique_ptr<PaintSession> m_drawing;
    // What the session drew on, shown when it closes.
    std::vector<RECT> m_written;
};

void WebScreen::Reset(SIZE size, const RgbPicture& picture)
{
    m_display = std::make_unique<VirtualDisplay>(size, 24, true);
    if (picture.width > 0 && picture.height > 0)
        m_display->ShowDesktop(FillScreen(picture, size));
    else
        m_display->ShowDesktop(GenerateDesktop(size.cx, size.cy).rgb);
}

std::unique_ptr<PaintSession> WebScreen::OpenPaintSession(HWND window, const RECT& client, std::vector<RECT> areas)
{
    auto session = std::make_unique<WebPaintSession>(*this);
    session->Open(window, client, std::move(areas));
    return session;
}

void WebScreen::Present(const std::vector<RECT>& areas)
{
    const SIZE size = m_display->ScreenSize();
    const RECT screen{0, 0, size.cx, size.cy};
    for (const RECT& area : areas) {
        const RECT shown = IntersectRects(area, screen);
        if (!IsEmptyRect(shown))
            web_present(m_display->Pixels(), size.cx, size.cy, shown.left, shown.top, shown.right - shown.left,
                        shown.bottom - shown.top);
    }
}
