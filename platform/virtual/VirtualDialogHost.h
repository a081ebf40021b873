// The dialog host in memory: pages built from the module's dialog
// templates, controls that keep the Win32 controls' behaviour (selection,
// slider ranges and clamping, check states, enabling), and a user whose
// actions during a sheet's modal run come from a script.
#pragma once

#include "platform/DialogHost.h"
#include "platform/Resources.h"
#include "platform/dialog/DialogTemplate.h"
#include "platform/dialog/PageModel.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>


class VirtualDialogHost;

// One page's window and its controls, whose open-file dialog asks the
// host's script.
class VirtualPage : public PageModel {
public:
    VirtualPage(VirtualDialogHost& host, const DialogTemplate& dialog) : PageModel(dialog), m_host(host) {}

    bool ChooseFileToOpen(const OpenFileRequest& request, std::string& path) override;

private:
    VirtualDialogHost& m_host;
};

// The open sheet, as its user sees and handles it.
class VirtualSheet : public SheetFrame {
public:
    VirtualSheet(const SheetDefinition& definition, std::vector<DialogTemplate> templates, SheetHandler& handler,
                 VirtualDialogHost& host);

    void SetIcon(UINT iconId) override { m_nIconId = iconId; }
    void MakeApplyCommand(const std::string& text, int controlId) override;

    const std::string& Caption() const { return m_strCaption; }
    int PageCount() const { return static_cast<int>(m_templates.size()); }
    std::string TabText(int page) const { return m_templates.at(page).strTitle; }
    int CurrentPage() const { return m_nCurrent; }
    bool IsCreated(int page) const { return m_pages.at(page) != nullptr; }
    // A created page; null for one that was never shown.
    const VirtualPage* Page(int page) const { return m_pages.at(page).get(); }
    UINT IconId() const { return m_nIconId; }
    const std::string& ApplyText() const { return m_strApplyText; }
    int ApplyId() const { return m_nApplyId; }
    bool ApplyEnabled() const { return m_bApplyEnabled; }
    bool IsOpen() const { return !m_result.has_value(); }
    SheetResult Result() const { return m_result.value_or(SheetResult::Cancel); }

    // The user's actions. Each returns false when the user could not do it:
    // the sheet is closed, or the control is missing, of another kind or
    // disabled on the page shown.
    bool ShowPage(int page);
    bool PickEntry(int id, int index);
    bool Click(int id);
    // Drags the slider to `position` (clamped to its range): one scroll
    // notice for the move and one for the end of the drag.
    bool Slide(int id, int position);
    bool PressOk();
    bool PressCancel();
    bool PressApply();

private:
    // The page shown, while the sheet is open.
    VirtualPage* Shown();
    bool Close(SheetResult result);

    std::string m_strCaption;
    std::vector<DialogTemplate> m_templates;
    SheetHandler& m_handler;
    VirtualDialogHost& m_host;
    std::vector<std::unique_ptr<VirtualPage>> m_pages;
    int m_nCurrent = -1;
    UINT m_nIconId = 0;
    std::string m_strApplyText = "&Apply";
    int m_nApplyId = 0x3021;
    bool m_bApplyEnabled = false;
    std::optional<SheetResult> m_result;
};

struct StartedProcess {
    std::string strProgram;
    std::string strCommandLine;
};

class VirtualDialogHost : public DialogHost {
public:
    using Script = std::function<void(VirtualSheet&)>;
    using FileDialog = std::function<std::optional<std::string>(const OpenFileRequest&)>;

    explicit VirtualDialogHost(Resources& resources) : m_resources(resources) {}

    // The user's actions during the next sheet runs. A sheet the script
    // leaves open is closed with its close box.
    void SetScript(Script script) { m_script = std::move(script); }
    // The user's answer to open-file dialogs: a path, or nothing to cancel.
    void SetFileDialog(FileDialog dialog) { m_fileDialog = std::move(dialog); }
    void SetProcessStartFails(bool fails) { m_bStartFails = fails; }

    SheetResult RunSheet(const SheetDefinition& sheet, SheetHandler& handler) override;
    bool StartProcess(const std::string& program, const std::string& commandLine) override;
    void ShowMessage(const std::string& text) override { m_messages.push_back(text); }

    // The messages shown in sheets, in order.
    const std::vector<std::string>& Messages() const { return m_messages; }
    const std::vector<OpenFileRequest>& FileRequests() const { return m_fileRequests; }
    const std::vector<StartedProcess>& StartedProcesses() const { return m_started; }
    int SheetsRun() const { return m_nSheetsRun; }

private:
    friend class VirtualPage;
    std::optional<std::string> AskForFile(const OpenFileRequest& request);

    Resources& m_resources;
    Script m_script;
    FileDialog m_fileDialog;
    bool m_bStartFails = false;
    std::vector<OpenFileRequest> m_fileRequests;
    std::vector<StartedProcess> m_started;
    std::vector<std::string> m_messages;
    int m_nSheetsRun = 0;
};
