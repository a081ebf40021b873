#include "platform/win32/Win32SheetHost.h"

#include "platform/win32/Win32DialogPage.h"

#include <commctrl.h>

#include <memory>
#include <vector>

namespace {

// The control id of the property sheet's Apply button.
constexpr int APPLY_BUTTON_ID = 0x3021;

struct PageRun {
    SheetHandler* pHandler = nullptr;
    int nIndex = 0;
    std::unique_ptr<Win32DialogPage> pControls;
};

// The sheet being run. The sheet callback gets no context of its own, and
// only one modal sheet runs at a time on the thread.
struct SheetRun {
    HINSTANCE hInstance = nullptr;
    SheetHandler* pHandler = nullptr;
    WNDPROC pSheetProc = nullptr;
    int nApplyCommand = 0;
    HWND hSheet = nullptr;
};
thread_local SheetRun* t_pRun = nullptr;

class Win32SheetFrame : public SheetFrame {
public:
    Win32SheetFrame(HWND sheet, SheetRun& run) : m_hSheet(sheet), m_run(run) {}

    void SetIcon(UINT iconId) override
    {
        for (const auto& [which, metricX, metricY] : {std::tuple{ICON_BIG, SM_CXICON, SM_CYICON},
                                                      std::tuple{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}}) {
            const HANDLE icon = ::LoadImageA(m_run.hInstance, MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                             ::GetSystemMetrics(metricX), ::GetSystemMetrics(metricY), LR_SHARED);
            ::SendMessageA(m_hSheet, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
        }
    }

    void MakeApplyCommand(const std::string& text, int controlId) override
    {
        const HWND apply = ::GetDlgItem(m_hSheet, APPLY_BUTTON_ID);
        if (apply == nullptr)
            return;
        ::SetWindowTextA(apply, text.c_str());
        ::SetWindowLongPtrA(apply, GWLP_ID, controlId);
        ::EnableWindow(apply, TRUE);
        m_run.nApplyCommand = controlId;
    }

private:
    HWND m_hSheet;
    SheetRun& m_run;
};

LRESULT CALLBACK SheetProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam)
{
    SheetRun* run = t_pRun;
    if (run == nullptr || run->pSheetProc == nullptr)
        return ::DefWindowProcA(sheet, message, wParam, lParam);
    if (message == WM_COMMAND && run->nApplyCommand != 0 && HIWORD(wParam) == BN_CLICKED &&
        LOWORD(wParam) == run->nApplyCommand) {
        run->pHandler->OnSheetCommand(run->nApplyCommand);
        return 0;
    }
    return ::CallWindowProcA(run->pSheetProc, sheet, message, wParam, lParam);
}

int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM)
{
    SheetRun* run = t_pRun;
    if (message != PSCB_INITIALIZED || run == nullptr)
        return 0;
    run->hSheet = sheet;
    run->pSheetProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(sheet, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SheetProc)));
    Win32SheetFrame frame(sheet, *run);
    run->pHandler->OnSheetInit(frame);
    return 0;
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* run = reinterpret_cast<PageRun*>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
        ::SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(run));
        run->pControls = std::make_unique<Win32DialogPage>(page);
        return run->pHandler->OnPageInit(run->nIndex, *run->pControls) != 0 ? TRUE : FALSE;
    }
    auto* run = reinterpret_cast<PageRun*>(::GetWindowLongPtrA(page, DWLP_USER));
    if (run == nullptr)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0)
            return FALSE;
        if (HIWORD(wParam) == BN_CLICKED)
            run->pHandler->OnPageCommand(run->nIndex, LOWORD(wParam), ControlNotice::Clicked);
        else if (HIWORD(wParam) == CBN_SELCHANGE)
            run->pHandler->OnPageCommand(run->nIndex, LOWORD(wParam), ControlNotice::SelectionChanged);
        return TRUE;
    case WM_HSCROLL:
        if (lParam != 0)
            run->pHandler->OnPageScroll(run->nIndex, ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
        return TRUE;
    case WM_NOTIFY: {
        const auto* notice = reinterpret_cast<const NMHDR*>(lParam);
        if (notice->code == static_cast<UINT>(PSN_APPLY)) {
            run->pHandler->OnPageApply(run->nIndex);
            ::SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
            return TRUE;
        }
        if (notice->code == static_cast<UINT>(PSN_RESET)) {
            run->pHandler->OnPageReset(run->nIndex);
            return TRUE;
        }
        return FALSE;
    }
    case WM_DESTROY:
        run->pControls.reset();
        return FALSE;
    default:
        return FALSE;
    }
}

}

SheetResult Win32SheetHost::RunSheet(const SheetDefinition& sheet, SheetHandler& handler)
{
    if (t_pRun != nullptr || sheet.pageTemplates.empty())
        return SheetResult::Failed;
    std::vector<PageRun> pageRuns(sheet.pageTemplates.size());
    std::vector<PROPSHEETPAGEA> pages(sheet.pageTemplates.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        pageRuns[i].pHandler = &handler;
        pageRuns[i].nIndex = static_cast<int>(i);
        PROPSHEETPAGEA& page = pages[i];
        page.dwSize = sizeof page;
        page.dwFlags = PSP_DEFAULT;
        page.hInstance = m_hInstance;
        page.pszTemplate = MAKEINTRESOURCEA(sheet.pageTemplates[i]);
        page.pfnDlgProc = &PageProc;
        page.lParam = reinterpret_cast<LPARAM>(&pageRuns[i]);
    }

    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    // No Help button and no context help: the program has no help.
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_NOCONTEXTHELP;
    header.hwndParent = sheet.hOwner;
    header.hInstance = m_hInstance;
    header.pszCaption = sheet.strCaption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = static_cast<UINT>(sheet.nStartPage);
    header.ppsp = pages.data();
    header.pfnCallback = &SheetCallback;

    SheetRun run;
    run.hInstance = m_hInstance;
    run.pHandler = &handler;
    t_pRun = &run;
    const INT_PTR result = ::PropertySheetA(&header);
    t_pRun = nullptr;
    if (result < 0)
        return SheetResult::Failed;
    return result > 0 ? SheetResult::Ok : SheetResult::Cancel;
}

bool Win32SheetHost::StartProcess(const std::string& program, const std::string& commandLine)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE,
                          CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

void Win32SheetHost::ShowMessage(const std::string& text)
{
    const HWND owner = t_pRun != nullptr ? t_pRun->hSheet : nullptr;
    char caption[256] = "";
    if (owner != nullptr)
        ::GetWindowTextA(owner, caption, sizeof caption);
    ::MessageBoxA(owner, text.c_str(), caption, MB_OK | MB_ICONWARNING);
}
