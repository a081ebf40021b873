#include "platform/dialog/PageModel.h"

#include <algorithm>

PageModel::PageModel(const DialogTemplate& dialog)
{
    for (const auto& item : dialog.items) {
        ControlState control;
        control.kind = item.Kind();
        control.strText = item.strText;
        control.bEnabled = !item.IsDisabled();
        m_controls[item.id] = control;
    }
}

ControlState* PageModel::Use(int id, DialogControlKind kind)
{
    const auto found = m_controls.find(id);
    if (found == m_controls.end() || (kind != DialogControlKind::Other && found->second.kind != kind)) {
        m_misuses.push_back(id);
        return nullptr;
    }
    return &found->second;
}

const ControlState* PageModel::Use(int id, DialogControlKind kind) const
{
    return const_cast<PageModel*>(this)->Use(id, kind);
}

ControlState* PageModel::Usable(int id, DialogControlKind kind)
{
    const auto found = m_controls.find(id);
    if (found == m_controls.end() || found->second.kind != kind || !found->second.bEnabled)
        return nullptr;
    return &found->second;
}

bool PageModel::ClickByUser(int id)
{
    if (ControlState* check = Usable(id, DialogControlKind::CheckBox)) {
        check->nCheck = check->nCheck == 0 ? 1 : 0;
        return true;
    }
    return IsUsable(id, DialogControlKind::PushButton);
}

bool PageModel::PickByUser(int id, int index)
{
    ControlState* list = Usable(id, DialogControlKind::DropDownList);
    if (list == nullptr || index < 0 || index >= static_cast<int>(list->entries.size()))
        return false;
    list->nSelection = index;
    return true;
}

bool PageModel::SlideByUser(int id, int position)
{
    ControlState* slider = Usable(id, DialogControlKind::Slider);
    if (slider == nullptr)
        return false;
    slider->nPos = std::clamp(position, slider->nMin, std::max(slider->nMin, slider->nMax));
    return true;
}

const ControlState* PageModel::Find(int id) const
{
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : &found->second;
}

void PageModel::ResetContent(int id)
{
    if (ControlState* list = Use(id, DialogControlKind::DropDownList)) {
        list->entries.clear();
        list->nSelection = -1;
        Changed(id, *list);
    }
}

int PageModel::AddString(int id, const std::string& text)
{
    ControlState* list = Use(id, DialogControlKind::DropDownList);
    if (list == nullptr)
        return -1;
    list->entries.push_back(text);
    Changed(id, *list);
    return static_cast<int>(list->entries.size()) - 1;
}

int PageModel::DeleteString(int id, int index)
{
    ControlState* list = Use(id, DialogControlKind::DropDownList);
    if (list == nullptr || index < 0 || index >= static_cast<int>(list->entries.size()))
        return -1;
    list->entries.erase(list->entries.begin() + index);
    if (list->nSelection == index)
        list->nSelection = -1;
    else if (list->nSelection > index)
        --list->nSelection;
    Changed(id, *list);
    return static_cast<int>(list->entries.size());
}

int PageModel::SetCurSel(int id, int index)
{
    ControlState* list = Use(id, DialogControlKind::DropDownList);
    if (list == nullptr)
        return -1;
    list->nSelection = index >= 0 && index < static_cast<int>(list->entries.size()) ? index : -1;
    Changed(id, *list);
    return list->nSelection;
}

int PageModel::GetCurSel(int id) const
{
    const ControlState* list = Use(id, DialogControlKind::DropDownList);
    return list == nullptr ? -1 : list->nSelection;
}

void PageModel::SetRange(int id, int minimum, int maximum, bool)
{
    if (ControlState* slider = Use(id, DialogControlKind::Slider)) {
        slider->nMin = minimum;
        slider->nMax = maximum;
        slider->nPos = std::clamp(slider->nPos, minimum, std::max(minimum, maximum));
        Changed(id, *slider);
    }
}

void PageModel::SetTicFreq(int id, int frequency)
{
    if (ControlState* slider = Use(id, DialogControlKind::Slider)) {
        slider->nTicFreq = frequency;
        Changed(id, *slider);
    }
}

void PageModel::SetPageSize(int id, int size)
{
    if (ControlState* slider = Use(id, DialogControlKind::Slider)) {
        slider->nPageSize = size;
        Changed(id, *slider);
    }
}

void PageModel::SetLineSize(int id, int size)
{
    if (ControlState* slider = Use(id, DialogControlKind::Slider)) {
        slider->nLineSize = size;
        Changed(id, *slider);
    }
}

void PageModel::SetPos(int id, int position, bool)
{
    if (ControlState* slider = Use(id, DialogControlKind::Slider)) {
        slider->nPos = std::clamp(position, slider->nMin, std::max(slider->nMin, slider->nMax));
        Changed(id, *slider);
    }
}

int PageModel::GetPos(int id) const
{
    const ControlState* slider = Use(id, DialogControlKind::Slider);
    return slider == nullptr ? 0 : slider->nPos;
}

void PageModel::SetCheck(int id, int state)
{
    if (ControlState* check = Use(id, DialogControlKind::CheckBox)) {
        check->nCheck = state;
        Changed(id, *check);
    }
}

int PageModel::GetCheck(int id) const
{
    const ControlState* check = Use(id, DialogControlKind::CheckBox);
    return check == nullptr ? 0 : check->nCheck;
}

void PageModel::SetText(int id, const std::string& text)
{
    if (ControlState* control = Use(id, DialogControlKind::Other)) {
        control->strText = text;
        Changed(id, *control);
    }
}

void PageModel::EnableControl(int id, bool enable)
{
    if (ControlState* control = Use(id, DialogControlKind::Other)) {
        control->bEnabled = enable;
        Changed(id, *control);
    }
}
