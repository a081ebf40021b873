// The dialog host seam: a modal tabbed sheet whose pages are built from the
// module's dialog templates, the controls on those pages, the open-file
// dialog and the start of a second process. Control operations keep the
// Win32 semantics of the messages they are named after: programmatic
// changes never notify, only the user's actions do.
#pragma once

#include "platform/WinApi.h"

#include <string>
#include <vector>

// What the user did to a control on a page.
enum class ControlNotice {
    // A push button or check box was clicked (a check box has toggled first).
    Clicked,
    // The user picked another entry of a drop-down list.
    SelectionChanged,
};

// The common open-file dialog's inputs.
struct OpenFileRequest {
    std::string strDefaultExt;
    // Preselected file name; empty for none.
    std::string strInitialName;
    // Pairs of description and pattern, each followed by '|', ended by "||".
    std::string strFilter;
    bool bHideReadOnly = false;
    bool bOverwritePrompt = false;
};

// The controls of one page window, by control id. A list's "no selection"
// is -1.
class PageControls {
public:
    virtual ~PageControls() = default;

    // Drop-down lists.
    virtual void ResetContent(int id) = 0;
    // Appends an entry; its index.
    virtual int AddString(int id, const std::string& text) = 0;
    // Removes an entry; the number left, or -1 when there is no such entry.
    // Removing the selected entry leaves the list without a selection.
    virtual int DeleteString(int id, int index) = 0;
    // Selects an entry; an index that names no entry clears the selection
    // and gives -1.
    virtual int SetCurSel(int id, int index) = 0;
    virtual int GetCurSel(int id) const = 0;

    // Sliders: the range starts as 0 to 100 with the position 0; every
    // position, also one left over by a range change, is clamped to it.
    virtual void SetRange(int id, int minimum, int maximum, bool redraw) = 0;
    virtual void SetTicFreq(int id, int frequency) = 0;
    virtual void SetPageSize(int id, int size) = 0;
    virtual void SetLineSize(int id, int size) = 0;
    virtual void SetPos(int id, int position, bool redraw) = 0;
    virtual int GetPos(int id) const = 0;

    // Check boxes: 0 unchecked, 1 checked.
    virtual void SetCheck(int id, int state) = 0;
    virtual int GetCheck(int id) const = 0;

    virtual void SetText(int id, const std::string& text) = 0;
    virtual void EnableControl(int id, bool enable) = 0;

    // Runs the open-file dialog modally, owned by the page. True and the
    // chosen file's full path when the user confirms a choice.
    virtual bool ChooseFileToOpen(const OpenFileRequest& request, std::string& path) = 0;
};

// The sheet's own window, while it is being initialised.
class SheetFrame {
public:
    virtual ~SheetFrame() = default;

    // The icon resource as the window's large and small icon.
    virtual void SetIcon(UINT iconId) = 0;
    // Turns the platform's Apply button into a command button of the sheet:
    // new text and control id, enabled, never disabled by the platform.
    virtual void MakeApplyCommand(const std::string& text, int controlId) = 0;
};

// The sheet's logic, called by the host. Pages are numbered in tab order.
class SheetHandler {
public:
    virtual ~SheetHandler() = default;

    // A page's window exists, the first time its tab is shown. Nonzero lets
    // the host put the focus on the page's first tab stop.
    virtual int OnPageInit(int page, PageControls& controls) = 0;
    // Once, after the host made its buttons and the start page.
    virtual void OnSheetInit(SheetFrame& frame) = 0;
    virtual void OnPageCommand(int page, int controlId, ControlNotice notice) = 0;
    // A slider of the page moved (every position change and the end of a
    // drag, by mouse or keyboard).
    virtual void OnPageScroll(int page, int controlId) = 0;
    // OK: sent to every created page.
    virtual void OnPageApply(int page) = 0;
    // Cancel, Escape or the close box: sent to every created page.
    virtual void OnPageReset(int page) = 0;
    // A command button of the sheet itself was clicked.
    virtual void OnSheetCommand(int controlId) = 0;
};

struct SheetDefinition {
    std::string strCaption;
    HWND hOwner = nullptr;
    int nStartPage = 0;
    // The pages' dialog template ids in tab order; the tab texts are the
    // templates' titles.
    std::vector<UINT> pageTemplates;
};

enum class SheetResult { Ok, Cancel, Failed };

class DialogHost {
public:
    virtual ~DialogHost() = default;

    // Shows the sheet with OK, Cancel and Apply buttons and no Help, and
    // returns when it is closed. Failed: it could not be shown.
    virtual SheetResult RunSheet(const SheetDefinition& sheet, SheetHandler& handler) = 0;
    // Starts `program` with `commandLine` (whose first word, the program-name
    // word, may be empty) as an independent process, and does not wait.
    virtual bool StartProcess(const std::string& program, const std::string& commandLine) = 0;
    // Tells the user of the open sheet `text` in a message owned by it, with
    // an OK button; the sheet stays usable.
    virtual void ShowMessage(const std::string& text) = 0;
};
