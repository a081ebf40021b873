// The preview window: a child of the host's preview window that shows the
// parade scaled into its client area, with no input handling and no music.
// Also the base of the full-screen window.
#pragma once

#include "app/FrameworkWindow.h"
#include "app/ParadeSettings.h"
#include "imaging/DibPalette.h"
#include "imaging/DibSurface.h"
#include "parade/MarcherList.h"
#include "parade/UnitTable.h"

#include <array>
#include <memory>

constexpr UINT_PTR PARADE_TIMER_ID = 1;

class SaverWnd : public FrameworkWindow, public CanvasInvalidator {
public:
    SaverWnd(Platform& platform, ParadeSettings& settings, bool autoDelete);
    ~SaverWnd() override;

    virtual BOOL CreateSaver(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT id, void* context);

    void InvalidateCanvas(const RECT& rect) override;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam);
    void OnDestroy(UINT message, WPARAM wParam, LPARAM lParam);
    // True for the saver itself, whose scene spans every monitor (the virtual
    // screen) with units of the chosen size. The preview shows the primary
    // screen shrunk into its host, with the units at their own size.
    virtual bool IsWholeDesktop() const { return false; }

    ParadeSettings& m_settings;
    DibSurface m_canvas;
    std::array<DibSurface, UNIT_KIND_COUNT> m_strips;
    MarcherList m_marchers;
    std::unique_ptr<DibPalette> m_pPalette;
    BOOL m_bAutoDelete;
    int m_cxScreen = 0;
    int m_cyScreen = 0;
    int m_nLaneGap = 0;

private:
    LRESULT BuildScene();
    // Loads the strips, enlarged `unitScale` times (1: as stored).
    void LoadStrips(int unitScale);
    // Puts a true-colour canvas of the client area's size into the memory
    // the window shows from, where the platform has it: the ticks then draw
    // where the display reads, and a paint only sends what changed.
    void MoveCanvasToWindow();
    void OnTimer(WPARAM id, LPARAM lParam);
    void OnPaint();
    UINT RealizeSaverPalette(bool forceBackground);
};
