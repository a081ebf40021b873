// The save-mode window: a topmost popup over the whole screen with an
// invisible cursor that closes on any mouse movement, click, key press or
// loss of activation.
#pragma once

#include "parade/SaverWnd.h"

class FullScreenSaverWnd : public SaverWnd {
public:
    FullScreenSaverWnd(Platform& platform, ParadeSettings& settings);
    ~FullScreenSaverWnd() override;

    void CreateFullScreen();

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnMouseMove(LPARAM lParam);
    void PostClose();

    POINT m_ptFirstMouse{-1, -1};
};
