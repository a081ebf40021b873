#include "platform/win32/Win32DialogPage.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace {
// Room for the chosen path; longer than MAX_PATH so that long paths are
// returned whole.
constexpr DWORD FILE_BUFFER_SIZE = 32768;
}

LRESULT Win32DialogPage::Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendDlgItemMessageA(m_hPage, id, message, wParam, lParam);
}

void Win32DialogPage::ResetContent(int id) { Send(id, CB_RESETCONTENT, 0, 0); }

int Win32DialogPage::AddString(int id, const std::string& text)
{
    return static_cast<int>(Send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int Win32DialogPage::DeleteString(int id, int index)
{
    return static_cast<int>(Send(id, CB_DELETESTRING, static_cast<WPARAM>(index), 0));
}

int Win32DialogPage::SetCurSel(int id, int index)
{
    return static_cast<int>(Send(id, CB_SETCURSEL, static_cast<WPARAM>(index), 0));
}

int Win32DialogPage::GetCurSel(int id) const { return static_cast<int>(Send(id, CB_GETCURSEL, 0, 0)); }

void Win32DialogPage::SetRange(int id, int minimum, int maximum, bool redraw)
{
    Send(id, TBM_SETRANGEMIN, FALSE, minimum);
    Send(id, TBM_SETRANGEMAX, redraw ? TRUE : FALSE, maximum);
}

void Win32DialogPage::SetTicFreq(int id, int frequency) { Send(id, TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0); }

void Win32DialogPage::SetPageSize(int id, int size) { Send(id, TBM_SETPAGESIZE, 0, size); }

void Win32DialogPage::SetLineSize(int id, int size) { Send(id, TBM_SETLINESIZE, 0, size); }

void Win32DialogPage::SetPos(int id, int position, bool redraw) { Send(id, TBM_SETPOS, redraw ? TRUE : FALSE, position); }

int Win32DialogPage::GetPos(int id) const { return static_cast<int>(Send(id, TBM_GETPOS, 0, 0)); }

void Win32DialogPage::SetCheck(int id, int state) { ::CheckDlgButton(m_hPage, id, static_cast<UINT>(state)); }

int Win32DialogPage::GetCheck(int id) const { return static_cast<int>(::IsDlgButtonChecked(m_hPage, id)); }

void Win32DialogPage::SetText(int id, const std::string& text) { ::SetDlgItemTextA(m_hPage, id, text.c_str()); }

void Win32DialogPage::EnableControl(int id, bool enable) { ::EnableWindow(::GetDlgItem(m_hPage, id), enable ? TRUE : FALSE); }

bool Win32DialogPage::ChooseFileToOpen(const OpenFileRequest& request, std::string& path)
{
    std::string filter = request.strFilter;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter.push_back('\0');
    std::vector<char> file(FILE_BUFFER_SIZE, '\0');
    std::copy_n(request.strInitialName.begin(), std::min<std::size_t>(request.strInitialName.size(), file.size() - 1),
                file.begin());

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_hPage;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = FILE_BUFFER_SIZE;
    dialog.lpstrDefExt = request.strDefaultExt.c_str();
    dialog.Flags = (request.bHideReadOnly ? OFN_HIDEREADONLY : 0) | (request.bOverwritePrompt ? OFN_OVERWRITEPROMPT : 0);
    if (!::GetOpenFileNameA(&dialog))
        return false;
    path = file.data();
    return true;
}
