#include "platform/virtual/VirtualDialogHost.h"

#include "platform/dialog/SheetPages.h"

#include <algorithm>

VirtualPage::VirtualPage(VirtualDialogHost& host, const DialogTemplate& dialog) : m_host(host)
{
    for (const auto& item : dialog.items) {
        VirtualControl control;
        control.kind = item.Kind();
        control.strText = item.strText;
        control.bEnabled = !item.IsDisabled();
        m_controls[item.id] = control;
    }
}

VirtualControl* VirtualPage::Use(int id, DialogControlKind kind)
{
    const auto found = m_controls.find(id);
    if (found == m_controls.end() || (kind != DialogControlKind::Other && found->second.kind != kind)) {
        m_misuses.push_back(id);
        return nullptr;
    }
    return &found->second;
}

const VirtualControl* VirtualPage::Use(int id, DialogControlKind kind) const
{
    return const_cast<VirtualPage*>(this)->Use(id, kind);
}

const VirtualControl* VirtualPage::Find(int id) const
{
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : &found->second;
}

void VirtualPage::ResetContent(int id)
{
    if (VirtualControl* list = Use(id, DialogControlKind::DropDownList)) {
        list->entries.clear();
        list->nSelection = -1;
    }
}

int VirtualPage::AddString(int id, const std::string& text)
{
    VirtualControl* list = Use(id, DialogControlKind::DropDownList);
    if (list == nullptr)
        return -1;
    list->entries.push_back(text);
    return static_cast<int>(list->entries.size()) - 1;
}

int VirtualPage::DeleteString(int id, int index)
{
    VirtualControl* list = Use(id, DialogControlKind::DropDownList);
    if (list == nullptr || index < 0 || index >= static_cast<int>(list->entries.size()))
        return -1;
    list->entries.erase(list->entries.begin() + index);
    if (list->nSelection == index)
        list->nSelection = -1;
    else if (list->nSelection > index)
        --list->nSelection;
    return static_cast<int>(list->entries.size());
}

int VirtualPage::SetCurSel(int id, int index)
{
    VirtualControl* list = Use(id, DialogControlKind::DropDownList);
    if (list == nullptr)
        return -1;
    list->nSelection = index >= 0 && index < static_cast<int>(list->entries.size()) ? index : -1;
    return list->nSelection;
}

int VirtualPage::GetCurSel(int id) const
{
    const VirtualControl* list = Use(id, DialogControlKind::DropDownList);
    return list == nullptr ? -1 : list->nSelection;
}

void VirtualPage::SetRange(int id, int minimum, int maximum, bool)
{
    if (VirtualControl* slider = Use(id, DialogControlKind::Slider)) {
        slider->nMin = minimum;
        slider->nMax = maximum;
        slider->nPos = std::clamp(slider->nPos, minimum, std::max(minimum, maximum));
    }
}

void VirtualPage::SetTicFreq(int id, int frequency)
{
    if (VirtualControl* slider = Use(id, DialogControlKind::Slider))
        slider->nTicFreq = frequency;
}

void VirtualPage::SetPageSize(int id, int size)
{
    if (VirtualControl* slider = Use(id, DialogControlKind::Slider))
        slider->nPageSize = size;
}

void VirtualPage::SetLineSize(int id, int size)
{
    if (VirtualControl* slider = Use(id, DialogControlKind::Slider))
        slider->nLineSize = size;
}

void VirtualPage::SetPos(int id, int position, bool)
{
    if (VirtualControl* slider = Use(id, DialogControlKind::Slider))
        slider->nPos = std::clamp(position, slider->nMin, std::max(slider->nMin, slider->nMax));
}

int VirtualPage::GetPos(int id) const
{
    const VirtualControl* slider = Use(id, DialogControlKind::Slider);
    return slider == nullptr ? 0 : slider->nPos;
}

void VirtualPage::SetCheck(int id, int state)
{
    if (VirtualControl* check = Use(id, DialogControlKind::CheckBox))
        check->nCheck = state;
}

int VirtualPage::GetCheck(int id) const
{
    const VirtualControl* check = Use(id, DialogControlKind::CheckBox);
    return check == nullptr ? 0 : check->nCheck;
}

void VirtualPage::SetText(int id, const std::string& text)
{
    if (VirtualControl* control = Use(id, DialogControlKind::Other))
        control->strText = text;
}

void VirtualPage::EnableControl(int id, bool enable)
{
    if (VirtualControl* control = Use(id, DialogControlKind::Other))
        control->bEnabled = enable;
}

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

VirtualControl* VirtualSheet::Usable(int id, DialogControlKind kind)
{
    if (!IsOpen() || m_nCurrent < 0)
        return nullptr;
    auto& controls = m_pages[m_nCurrent]->m_controls;
    const auto found = controls.find(id);
    if (found == controls.end() || found->second.kind != kind || !found->second.bEnabled)
        return nullptr;
    return &found->second;
}

bool VirtualSheet::PickEntry(int id, int index)
{
    VirtualControl* list = Usable(id, DialogControlKind::DropDownList);
    if (list == nullptr || index < 0 || index >= static_cast<int>(list->entries.size()))
        return false;
    list->nSelection = index;
    m_handler.OnPageCommand(m_nCurrent, id, ControlNotice::SelectionChanged);
    return true;
}

bool VirtualSheet::Click(int id)
{
    VirtualControl* control = Usable(id, DialogControlKind::CheckBox);
    if (control != nullptr)
        control->nCheck = control->nCheck == 0 ? 1 : 0;
    else
        control = Usable(id, DialogControlKind::PushButton);
    if (control == nullptr)
        return false;
    m_handler.OnPageCommand(m_nCurrent, id, ControlNotice::Clicked);
    return true;
}

bool VirtualSheet::Slide(int id, int position)
{
    VirtualControl* slider = Usable(id, DialogControlKind::Slider);
    if (slider == nullptr)
        return false;
    slider->nPos = std::clamp(position, slider->nMin, std::max(slider->nMin, slider->nMax));
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
