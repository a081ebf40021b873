// The scene of a saver window: built once from a copy of the display, moved
// on every timer tick, painted scaled into the client area.
#include "parade/SaverWnd.h"

#include "app/SettingsKeys.h"
#include "parade/BackgroundStyle.h"
#include "parade/BuildParade.h"
#include "parade/UnitScale.h"


LRESULT SaverWnd::BuildScene()
{
    Graphics& graphics = m_platform.GetGraphics();
    const bool wholeDesktop = IsWholeDesktop();
    const SIZE screen = wholeDesktop ? graphics.VirtualScreenSize() : graphics.ScreenSize();
    m_cxScreen = screen.cx;
    m_cyScreen = screen.cy;
    const int unitScale =
        wholeDesktop ? ChooseUnitScale(m_settings.ReadInt(KEY_UNITSIZE, DEFAULT_UNITSIZE), graphics.StatedDpi(), m_cyScreen)
                     : 1;
    m_nLaneGap = LaneGap(m_cyScreen, unitScale);

    const int style = m_settings.ReadInt(KEY_BACKGROUND, DEFAULT_BACKGROUND);
    // A true-colour display gets a scene in its own pixel layout, so that
    // nothing is lost of the desktop and nothing is converted to show it;
    // the others get a 5-6-5 one.
    const int format = graphics.ScreenDepth() < 24 ? DIBFMT_RGB565
                       : graphics.StoresRedFirst() ? DIBFMT_XBGR32
                                                   : DIBFMT_XRGB32;
    // A style of one colour never reads the desktop: it is not copied at all.
    const std::optional<COLORREF> solid = SolidColorOf(style);
    if (solid) {
        m_canvas.CreateFilled(m_cxScreen, m_cyScreen, *solid, format);
    } else {
        const std::unique_ptr<DeviceBitmap> desktop =
            wholeDesktop ? graphics.CopyVirtualScreen() : graphics.CopyScreen();
        if (format == DIBFMT_RGB565 && IsExactAt16Bit(style))
            m_canvas.CreateFromBitmapAt16Bit(desktop.get(), 0, format);
        else
            m_canvas.CreateFromBitmap(desktop.get(), 0, format);
    }
    // True-colour units are drawn enlarged from their own pictures, so that
    // a large screen does not also hold enlarged copies of them at four
    // bytes a pixel.
    const bool enlargeAsDrawn = m_canvas.BitCount() == 32;
    LoadStrips(enlargeAsDrawn ? 1 : unitScale);

    const DibSurface& firstStrip = m_strips[0];
    m_pPalette = std::make_unique<DibPalette>();
    if (!m_pPalette->CreateFromSurface(graphics, firstStrip))
        m_pPalette.reset();

    m_canvas.CopyColorTable(firstStrip);
    if (!solid)
        ApplyBackgroundStyle(m_canvas, style, m_settings.ReadInt(KEY_GAMMA, DEFAULT_GAMMA));
    if (enlargeAsDrawn) {
        for (DibSurface& strip : m_strips)
            strip.ConvertTo32Bit(format);
        MoveCanvasToWindow();
    } else if (m_canvas.BitCount() >= 16) {
        for (DibSurface& strip : m_strips)
            strip.ConvertTo16Bit(DIBFMT_RGB565);
        m_canvas.ConvertTo16Bit(DIBFMT_RGB565);
    }
    m_marchers.SetBackground(&m_canvas);

    std::array<std::string, UNIT_KIND_COUNT> unitNames;
    for (std::size_t lane = 0; lane < UNIT_TABLE.size(); ++lane)
        unitNames[lane] = m_platform.GetResources().LoadString(UNIT_TABLE[lane].nNameId);
    BuildParade(m_marchers, m_strips, unitNames, m_settings, m_cxScreen, m_nLaneGap, unitScale, enlargeAsDrawn);

    Native()->SetTimer(PARADE_TIMER_ID, static_cast<UINT>(m_settings.ReadInt(KEY_SPEED, DEFAULT_SPEED)));
    return 0;
}

void SaverWnd::MoveCanvasToWindow()
{
    const RECT client = Native()->ClientRect();
    if (client.right - client.left != m_canvas.Width() || client.bottom - client.top != m_canvas.Height())
        return;
    const ShownRows rows = Native()->LendRows(SIZE{m_canvas.Width(), m_canvas.Height()}, m_canvas.IsRedFirst());
    if (rows.bits != nullptr)
        m_canvas.MoveToRows(rows.bits, rows.stride);
}

void SaverWnd::LoadStrips(int unitScale)
{
    const Resources& resources = m_platform.GetResources();
    for (std::size_t slot = 0; slot < m_strips.size(); ++slot) {
        m_strips[slot].LoadFromResource(resources, STRIP_ORDER[slot]);
        m_strips[slot].ScaleUp(unitScale);
    }
}

void SaverWnd::OnTimer(WPARAM id, LPARAM lParam)
{
    if (id != PARADE_TIMER_ID) {
        Default(WM_TIMER, id, lParam);
        return;
    }
    if (Native() == nullptr || !Native()->IsWindow())
        return;
    m_marchers.AdvanceAll(m_canvas, *this);
    m_marchers.RenderAll(m_canvas, *this);
    Native()->UpdateWindow();
}

void SaverWnd::InvalidateCanvas(const RECT& rect)
{
    const RECT client = Native()->ClientRect();
    const LONG cx = client.right - client.left;
    const LONG cy = client.bottom - client.top;
    if (m_cxScreen <= 0 || m_cyScreen <= 0 || (cx == m_cxScreen && cy == m_cyScreen)) {
        Native()->InvalidateRect(&rect, false);
        return;
    }
    auto scaleDown = [](LONG value, LONG to, LONG from) {
        const long long scaled = static_cast<long long>(value) * to;
        return static_cast<LONG>(scaled >= 0 ? scaled / from : -((-scaled + from - 1) / from));
    };
    auto scaleUp = [](LONG value, LONG to, LONG from) {
        const long long scaled = static_cast<long long>(value) * to;
        return static_cast<LONG>(scaled >= 0 ? (scaled + from - 1) / from : -(-scaled / from));
    };
    const RECT scaled{client.left + scaleDown(rect.left, cx, m_cxScreen), client.top + scaleDown(rect.top, cy, m_cyScreen),
                      client.left + scaleUp(rect.right, cx, m_cxScreen), client.top + scaleUp(rect.bottom, cy, m_cyScreen)};
    Native()->InvalidateRect(&scaled, false);
}

void SaverWnd::OnPaint()
{
    const auto paint = Native()->BeginPaint();
    if (m_canvas.IsEmpty())
        return;
    DeviceContext& context = paint->Context();
    PaletteHandle previous = 0;
    if (m_pPalette) {
        previous = context.SelectPalette(m_pPalette->Handle(), true);
        context.RealizePalette();
    }
    const RECT client = Native()->ClientRect();
    m_canvas.Draw(&context, &client, nullptr);
    if (previous != 0)
        context.SelectPalette(previous, false);
}

UINT SaverWnd::RealizeSaverPalette(bool forceBackground)
{
    const auto client = Native()->GetClientContext();
    DeviceContext& context = client->Context();
    const PaletteHandle previous = context.SelectPalette(m_pPalette ? m_pPalette->Handle() : 0, forceBackground);
    const UINT changed = context.RealizePalette();
    if (previous != 0) {
        context.SelectPalette(previous, true);
        context.RealizePalette();
    }
    if (changed != 0 || forceBackground)
        Native()->InvalidateRect(nullptr, true);
    return changed;
}
