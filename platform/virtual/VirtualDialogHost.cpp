#include "platform/virtual/VirtualDialogHost.h"

#include "platform/dialog/SheetPages.h"

#include <algorithm>

bool VirtualPage::ChooseFileToOpen(const OpenFileRequest& request, std::string& path)
{
    const auto chosen = m_host.AskForFile(request);
    if (!chosen)
        return false;
    path = *chosen;
    return true;
}

VirtualSheet::VirtualSheet(const SheetDefinition& definition, std::vector<DialogTemplate> templates,
                           SheetHandler& handler, VirtualDialogHost& host)
    : m_strCaption(definition.strCaption), m_templates(std::move(templates)), m_handler(handler), m_host(host)
{
    m_pages.resize(m_templates.size());
}

void VirtualSheet::MakeApplyCommand(const std::string& text, int controlId)
{
    m_strApplyText = text;
    m_nApplyId = controlId;
    m_bApplyEnabled = true;
}

bool VirtualSheet::ShowPage(int page)
{
    if (!IsOpen() || page < 0 || page >= PageCount())
        return false;
    m_nCurrent = page;
    if (!m_pages[page]) {
        m_pages[page] = std::make_unique<VirtualPage>(m_host, m_templates[page]);
        m_handler.OnPageInit(page, *m_pages[page]);
    }
    return true;
}

VirtualPage* VirtualSheet::Shown()
{
    return IsOpen() && m_nCurrent >= 0 ? m_pages[m_nCurrent].get() : nullptr;
}

bool VirtualSheet::PickEntry(int id, int index)
{
    VirtualPage* shown = Shown();
    if (shown == nullptr || !shown->PickByUser(id, index))
        return false;
    m_handler.OnPageCommand(m_nCurrent, id, ControlNotice::SelectionChanged);
    return true;
}

bool VirtualSheet::Click(int id)
{
    VirtualPage* shown = Shown();
    if (shown == nullptr || !shown->ClickByUser(id))
        return false;
    m_handler.OnPageCommand(m_nCurrent, id, ControlNotice::Clicked);
    return true;
}

bool VirtualSheet::Slide(int id, int position)
{
    VirtualPage* shown = Shown();
    if (shown == nullptr || !shown->SlideByUser(id, position))
        return false;
    m_handler.OnPageScroll(m_nCurrent, id);
    m_handler.OnPageScroll(m_nCurrent, id);
    return true;
}

bool VirtualSheet::PressOk() { return Close(SheetResult::Ok); }

bool VirtualSheet::PressCancel() { return Close(SheetResult::Cancel); }

bool VirtualSheet::Close(SheetResult result)
{
    if (!IsOpen())
        return false;
    EndCreatedPages(m_handler, m_pages, result);
    m_result = result;
    return true;
}

bool VirtualSheet::PressApply()
{
    if (!IsOpen() || !m_bApplyEnabled)
        return false;
    m_handler.OnSheetCommand(m_nApplyId);
    return true;
}

SheetResult VirtualDialogHost::RunSheet(const SheetDefinition& sheet, SheetHandler& handler)
{
    ++m_nSheetsRun;
    auto templates = LoadSheetTemplates(m_resources, sheet);
    if (!templates)
        return SheetResult::Failed;
    VirtualSheet open(sheet, std::move(*templates), handler, *this);
    open.ShowPage(sheet.nStartPage);
    handler.OnSheetInit(open);
    if (m_script)
        m_script(open);
    if (open.IsOpen())
        open.PressCancel();
    return open.Result();
}

bool VirtualDialogHost::StartProcess(const std::string& program, const std::string& commandLine)
{
    if (m_bStartFails)
        return false;
    m_started.push_back({program, commandLine});
    return true;
}

std::optional<std::string> VirtualDialogHost::AskForFile(const OpenFileRequest& request)
{
    m_fileRequests.push_back(request);
    if (!m_fileDialog)
        return std::nullopt;
    return m_fileDialog(request);
}
