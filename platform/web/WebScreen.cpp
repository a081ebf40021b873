#include "platform/web/WebScreen.h"

#include "platform/web/WebBridge.h"
#include "platform/virtual/FillScreen.h"
#include "platform/virtual/GeneratedDesktop.h"

class WebPaintSession : public PaintSession {
public:
    WebPaintSession(WebScreen& screen, std::unique_ptr<PaintSession> drawing, std::vector<RECT> areas)
        : m_screen(screen), m_drawing(std::move(drawing)), m_areas(std::move(areas))
    {
    }
    ~WebPaintSession() override
    {
        m_drawing.reset();
        m_screen.Present(m_areas);
    }

    DeviceContext& Context() override { return m_drawing->Context(); }

private:
    WebScreen& m_screen;
    std::unique_ptr<PaintSession> m_drawing;
    std::vector<RECT> m_areas;
};

void WebScreen::Reset(SIZE size, const RgbPicture& picture)
{
    m_display = std::make_unique<VirtualDisplay>(size, 24);
    if (picture.width > 0 && picture.height > 0)
        m_display->ShowDesktop(FillScreen(picture, size));
    else
        m_display->ShowDesktop(GenerateDesktop(size.cx, size.cy).rgb);
}

std::unique_ptr<PaintSession> WebScreen::OpenPaintSession(HWND window, const RECT& client, std::vector<RECT> areas)
{
    auto drawing = m_display->OpenPaintSession(window, client, areas);
    return std::make_unique<WebPaintSession>(*this, std::move(drawing), std::move(areas));
}

void WebScreen::Present(const std::vector<RECT>& areas)
{
    for (const RECT& area : areas) {
        const RECT shown = m_display->CopyRgba(area, m_rgba);
        if (!m_rgba.empty())
            web_present(m_rgba.data(), shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top);
    }
}
