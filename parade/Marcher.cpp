#include "parade/Marcher.h"

#include "imaging/DibSurface.h"

namespace {
bool IsRectEmpty(const RECT& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }
}

int InitMarcher(Marcher& marcher, const DibSurface* strip, const POINT* keyPoint, const MarcherSpec* marcherSpec)
{
    if (strip == nullptr || marcherSpec == nullptr)
        return PARADE_ERR_ARGS;
    marcher.m_pStrip = strip;
    static_cast<MarcherSpec&>(marcher) = *marcherSpec;
    marcher.m_nFrame = marcher.m_nFirstFrame;
    marcher.m_ptPos = marcher.m_ptStart;
    if (keyPoint != nullptr)
        strip->GetPixelColor(keyPoint->x, keyPoint->y, marcher.m_crKey);
    return 0;
}

void Marcher::NextFrame()
{
    if (++m_nFrame > m_nLastFrame)
        m_nFrame = m_nFirstFrame;
}

void Marcher::Advance(DibSurface& canvas, const DibSurface& clean, CanvasInvalidator& window)
{
    if (IsWaiting()) {
        if (m_bMarch)
            NextFrame();
        return;
    }
    if (!IsRectEmpty(m_rcFrame)) {
        RECT restore{m_ptPos.x, m_ptPos.y, m_ptPos.x + m_cxFrame, m_ptPos.y + m_cyFrame};
        POINT at = m_ptPos;
        canvas.BlitFrom(clean, 0, at, restore, 0);
        window.InvalidateCanvas(restore);
    }
    m_ptPos.x += m_ptStep.x;
    m_ptPos.y += m_ptStep.y;
    const bool pastX = m_ptStart.x > m_ptEnd.x ? m_ptPos.x < m_ptEnd.x : m_ptPos.x > m_ptEnd.x;
    if (pastX)
        m_ptPos = m_ptStart;
    const bool pastY = m_ptStart.y > m_ptEnd.y ? m_ptPos.y < m_ptEnd.y : m_ptPos.y > m_ptEnd.y;
    if (pastY)
        m_ptPos = m_ptStart;
    const LONG frame = static_cast<LONG>(m_nFrame);
    if (m_bVertical)
        m_rcFrame = RECT{0, frame * m_cyFrame, m_cxFrame, frame * m_cyFrame + m_cyFrame};
    else
        m_rcFrame = RECT{frame * m_cxFrame, 0, frame * m_cxFrame + m_cxFrame, m_cyFrame};
    NextFrame();
}

void Marcher::Render(DibSurface& canvas, CanvasInvalidator& window)
{
    if (IsWaiting()) {
        ++m_nWaited;
        return;
    }
    POINT at = m_ptPos;
    if (m_nEnlarge > 1)
        canvas.BlitEnlargedFrom(*m_pStrip, m_crKey, at, m_rcFrame, static_cast<int>(m_nEnlarge));
    else
        canvas.BlitFrom(*m_pStrip, m_crKey, at, m_rcFrame, 1);
    window.InvalidateCanvas(RECT{m_ptPos.x, m_ptPos.y, m_ptPos.x + m_cxFrame, m_ptPos.y + m_cyFrame});
}
