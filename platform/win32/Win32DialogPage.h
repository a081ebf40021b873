// The page-controls seam over a property page's window: each operation is
// the control message it is named after, sent to the control by its id.
#pragma once

#include "platform/DialogHost.h"

class Win32DialogPage : public PageControls {
public:
    explicit Win32DialogPage(HWND page) : m_hPage(page) {}

    void ResetContent(int id) override;
    int AddString(int id, const std::string& text) override;
    int DeleteString(int id, int index) override;
    int SetCurSel(int id, int index) override;
    int GetCurSel(int id) const override;
    void SetRange(int id, int minimum, int maximum, bool redraw) override;
    void SetTicFreq(int id, int frequency) override;
    void SetPageSize(int id, int size) override;
    void SetLineSize(int id, int size) override;
    void SetPos(int id, int position, bool redraw) override;
    int GetPos(int id) const override;
    void SetCheck(int id, int state) override;
    int GetCheck(int id) const override;
    void SetText(int id, const std::string& text) override;
    void EnableControl(int id, bool enable) override;
    // The common open-file dialog (GetOpenFileNameA), owned by the page.
    bool ChooseFileToOpen(const OpenFileRequest& request, std::string& path) override;

private:
    LRESULT Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const;

    HWND m_hPage;
};
