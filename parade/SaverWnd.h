// The preview window: a child of the host's preview window that shows the
// parade scaled into its client area, with no input handling and no music.
// Also the base of the full-screen window.
#pragma once

#include "app/FrameworkWindow.h"
#include "app/ParadeSettings.h"

constexpr UINT_PTR PARADE_TIMER_ID = 1;

class SaverWnd : public FrameworkWindow {
public:
    SaverWnd(Platform& platform, ParadeSettings& settings, bool autoDelete);
    ~SaverWnd() override;

    virtual BOOL CreateSaver(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT id, void* context);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam);
    void OnDestroy(UINT message, WPARAM wParam, LPARAM lParam);

    ParadeSettings& m_settings;
    BOOL m_bAutoDelete;
    int m_cxScreen = 0;
    int m_cyScreen = 0;
    int m_nLaneGap = 0;

private:
    void OnPaint();
};
