// GtkDialogPage's controls: the page-controls seam over the widgets, with
// the Win32 controls' behaviour; the program's changes never notify.
#include "platform/gtk/GtkDialogPage.h"

#include <algorithm>

namespace {

// More tick marks than this would only draw a solid bar.
constexpr long long MAX_TICKS = 500;

}

GtkDialogPage::Quiet::Quiet(const Control& control) : m_control(control)
{
    for (const gulong handler : m_control.handlers)
        g_signal_handler_block(m_control.widget, handler);
}

GtkDialogPage::Quiet::~Quiet()
{
    for (const gulong handler : m_control.handlers)
        g_signal_handler_unblock(m_control.widget, handler);
}

GtkDialogPage::Control* GtkDialogPage::Find(int id, DialogControlKind kind) const
{
    const auto found = m_byId.find(id);
    if (found == m_byId.end())
        return nullptr;
    if (kind != DialogControlKind::Other && found->second->kind != kind)
        return nullptr;
    return found->second;
}

void GtkDialogPage::UpdateTicks(const Control& slider)
{
    GtkScale* scale = GTK_SCALE(slider.widget);
    gtk_scale_clear_marks(scale);
    if (!slider.bAutoTicks)
        return;
    GtkAdjustment* adjustment = gtk_range_get_adjustment(GTK_RANGE(scale));
    const auto low = static_cast<long long>(gtk_adjustment_get_lower(adjustment));
    const auto high = static_cast<long long>(gtk_adjustment_get_upper(adjustment));
    const long long frequency = slider.nTicFreq;
    const bool everyStep = frequency > 0 && (high - low) / frequency <= MAX_TICKS;
    for (long long tick = low; tick < high; tick += everyStep ? frequency : high - low)
        gtk_scale_add_mark(scale, static_cast<gdouble>(tick), GTK_POS_TOP, nullptr);
    gtk_scale_add_mark(scale, static_cast<gdouble>(high), GTK_POS_TOP, nullptr);
}

void GtkDialogPage::ResetContent(int id)
{
    if (Control* list = Find(id, DialogControlKind::DropDownList)) {
        Quiet quiet(*list);
        gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(list->widget));
    }
}

int GtkDialogPage::AddString(int id, const std::string& text)
{
    Control* list = Find(id, DialogControlKind::DropDownList);
    if (list == nullptr)
        return -1;
    Quiet quiet(*list);
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(list->widget), text.c_str());
    GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(list->widget));
    return gtk_tree_model_iter_n_children(model, nullptr) - 1;
}

int GtkDialogPage::DeleteString(int id, int index)
{
    Control* list = Find(id, DialogControlKind::DropDownList);
    if (list == nullptr)
        return -1;
    GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(list->widget));
    const int count = gtk_tree_model_iter_n_children(model, nullptr);
    if (index < 0 || index >= count)
        return -1;
    Quiet quiet(*list);
    gtk_combo_box_text_remove(GTK_COMBO_BOX_TEXT(list->widget), index);
    return count - 1;
}

int GtkDialogPage::SetCurSel(int id, int index)
{
    Control* list = Find(id, DialogControlKind::DropDownList);
    if (list == nullptr)
        return -1;
    GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(list->widget));
    const bool valid = index >= 0 && index < gtk_tree_model_iter_n_children(model, nullptr);
    Quiet quiet(*list);
    gtk_combo_box_set_active(GTK_COMBO_BOX(list->widget), valid ? index : -1);
    return valid ? index : -1;
}

int GtkDialogPage::GetCurSel(int id) const
{
    const Control* list = Find(id, DialogControlKind::DropDownList);
    return list == nullptr ? -1 : gtk_combo_box_get_active(GTK_COMBO_BOX(list->widget));
}

void GtkDialogPage::SetRange(int id, int minimum, int maximum, bool)
{
    Control* slider = Find(id, DialogControlKind::Slider);
    if (slider == nullptr)
        return;
    {
        Quiet quiet(*slider);
        gtk_range_set_range(GTK_RANGE(slider->widget), minimum, std::max(minimum, maximum));
    }
    UpdateTicks(*slider);
}

void GtkDialogPage::SetTicFreq(int id, int frequency)
{
    if (Control* slider = Find(id, DialogControlKind::Slider)) {
        slider->nTicFreq = frequency;
        UpdateTicks(*slider);
    }
}

void GtkDialogPage::SetPageSize(int id, int size)
{
    if (Control* slider = Find(id, DialogControlKind::Slider))
        gtk_adjustment_set_page_increment(gtk_range_get_adjustment(GTK_RANGE(slider->widget)), size);
}

void GtkDialogPage::SetLineSize(int id, int size)
{
    if (Control* slider = Find(id, DialogControlKind::Slider))
        gtk_adjustment_set_step_increment(gtk_range_get_adjustment(GTK_RANGE(slider->widget)), size);
}

void GtkDialogPage::SetPos(int id, int position, bool)
{
    if (Control* slider = Find(id, DialogControlKind::Slider)) {
        Quiet quiet(*slider);
        gtk_range_set_value(GTK_RANGE(slider->widget), position);
    }
}

int GtkDialogPage::GetPos(int id) const
{
    const Control* slider = Find(id, DialogControlKind::Slider);
    if (slider == nullptr)
        return 0;
    const double value = gtk_range_get_value(GTK_RANGE(slider->widget));
    return static_cast<int>(value < 0 ? value - 0.5 : value + 0.5);
}

void GtkDialogPage::SetCheck(int id, int state)
{
    if (Control* check = Find(id, DialogControlKind::CheckBox)) {
        Quiet quiet(*check);
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(check->widget), state != 0);
    }
}

int GtkDialogPage::GetCheck(int id) const
{
    const Control* check = Find(id, DialogControlKind::CheckBox);
    return check != nullptr && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(check->widget)) ? 1 : 0;
}

void GtkDialogPage::SetText(int id, const std::string& text)
{
    Control* control = Find(id, DialogControlKind::Other);
    if (control == nullptr)
        return;
    switch (control->kind) {
    case DialogControlKind::Label:
        if (control->bNoPrefix)
            gtk_label_set_text(GTK_LABEL(control->widget), text.c_str());
        else
            gtk_label_set_text_with_mnemonic(GTK_LABEL(control->widget), MnemonicText(text).c_str());
        break;
    case DialogControlKind::PushButton:
    case DialogControlKind::CheckBox:
        gtk_button_set_label(GTK_BUTTON(control->widget), MnemonicText(text).c_str());
        break;
    case DialogControlKind::GroupBox:
        gtk_label_set_text_with_mnemonic(GTK_LABEL(gtk_frame_get_label_widget(GTK_FRAME(control->widget))),
                                         MnemonicText(text).c_str());
        break;
    default:
        break;
    }
}

void GtkDialogPage::EnableControl(int id, bool enable)
{
    if (Control* control = Find(id, DialogControlKind::Other))
        gtk_widget_set_sensitive(control->widget, enable);
}

bool GtkDialogPage::ChooseFileToOpen(const OpenFileRequest& request, std::string& path)
{
    return m_sheet.RunOpenFileDialog(request, path);
}
