// The saver drawn into a window that another program owns and shows full
// screen (a screen-saver daemon): the whole scene with its music, as in the
// save mode, but the host owns the input and decides when it ends.
#pragma once

#include "parade/FullScreenSaverWnd.h"

class HostedSaverWnd : public FullScreenSaverWnd {
public:
    using FullScreenSaverWnd::FullScreenSaverWnd;

    // A child covering the client area of `host`; false when it cannot be made.
    bool CreateHosted(HWND host, const RECT& client);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
