#include "platform/gtk/GtkDialogPage.h"

#include "platform/gtk/GtkIconImages.h"
#include "platform/gtk/GtkSheetWindow.h"

#include <algorithm>

namespace {

constexpr int ICON_SIZE = 32;
// More tick marks than this would only draw a solid bar.
constexpr long long MAX_TICKS = 500;

std::string MnemonicText(const std::string& text) { return ConvertAccessKeys(text, '_'); }

bool IsSliderKey(guint key)
{
    switch (key) {
    case GDK_KEY_Left:
    case GDK_KEY_Right:
    case GDK_KEY_Up:
    case GDK_KEY_Down:
    case GDK_KEY_Page_Up:
    case GDK_KEY_Page_Down:
    case GDK_KEY_Home:
    case GDK_KEY_End:
    case GDK_KEY_KP_Left:
    case GDK_KEY_KP_Right:
    case GDK_KEY_KP_Up:
    case GDK_KEY_KP_Down:
    case GDK_KEY_KP_Page_Up:
    case GDK_KEY_KP_Page_Down:
    case GDK_KEY_KP_Home:
    case GDK_KEY_KP_End:
        return true;
    default:
        return false;
    }
}

// Moves the focus into a control; a drop-down list hands it to its button.
bool TakeFocus(GtkWidget* widget, GtkDirectionType direction)
{
    if (!gtk_widget_is_sensitive(widget) || !gtk_widget_get_visible(widget))
        return false;
    if (GTK_IS_COMBO_BOX(widget)) {
        gtk_widget_grab_focus(widget);
        return true;
    }
    return gtk_widget_child_focus(widget, direction) != FALSE;
}

GtkWidget* NewLabel(const DialogItemTemplate& item)
{
    GtkWidget* label = gtk_label_new(nullptr);
    if (item.IsNoPrefix())
        gtk_label_set_text(GTK_LABEL(label), item.strText.c_str());
    else
        gtk_label_set_text_with_mnemonic(GTK_LABEL(label), MnemonicText(item.strText).c_str());
    const TextAlign align = item.Align();
    const float x = align == TextAlign::Left ? 0.0f : align == TextAlign::Right ? 1.0f : 0.5f;
    gtk_label_set_xalign(GTK_LABEL(label), x);
    gtk_label_set_yalign(GTK_LABEL(label), 0.0f);
    gtk_label_set_justify(GTK_LABEL(label), align == TextAlign::Left    ? GTK_JUSTIFY_LEFT
                                             : align == TextAlign::Right ? GTK_JUSTIFY_RIGHT
                                                                         : GTK_JUSTIFY_CENTER);
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD_CHAR);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 1);
    return label;
}

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

GtkDialogPage::GtkDialogPage(GtkSheetWindow& sheet, int pageIndex, const DialogTemplate& dialog,
                             const DialogBaseUnits& units)
    : m_sheet(sheet), m_nPage(pageIndex), m_pFixed(gtk_fixed_new())
{
    gtk_widget_set_size_request(m_pFixed, units.X(dialog.cx), units.Y(dialog.cy));
    GtkWidget* pendingMnemonic = nullptr;
    for (const auto& item : dialog.items) {
        auto control = std::make_unique<Control>();
        control->page = this;
        control->id = static_cast<short>(item.id);
        control->kind = item.Kind();
        GtkWidget* widget = CreateWidget(item, *control);
        if (widget == nullptr)
            continue;
        control->widget = widget;
        if (control->kind == DialogControlKind::Slider)
            UpdateTicks(*control);
        const int width = units.X(item.cx);
        const int height = control->kind == DialogControlKind::DropDownList ? -1 : units.Y(item.cy);
        gtk_widget_set_size_request(widget, width, height);
        gtk_fixed_put(GTK_FIXED(m_pFixed), widget, units.X(item.x), units.Y(item.y));
        gtk_widget_set_sensitive(widget, !item.IsDisabled());

        GtkWidget* mnemonicLabel = nullptr;
        if (control->kind == DialogControlKind::Label && !item.IsNoPrefix())
            mnemonicLabel = widget;
        else if (control->kind == DialogControlKind::GroupBox)
            mnemonicLabel = gtk_frame_get_label_widget(GTK_FRAME(widget));
        if (item.IsTabStop()) {
            m_tabStops.push_back(widget);
            if (pendingMnemonic != nullptr)
                gtk_label_set_mnemonic_widget(GTK_LABEL(pendingMnemonic), widget);
            pendingMnemonic = nullptr;
        }
        if (mnemonicLabel != nullptr)
            pendingMnemonic = mnemonicLabel;

        Connect(*control);
        m_byId[control->id] = control.get();
        m_controls.push_back(std::move(control));
    }
    g_signal_connect(m_pFixed, "focus", G_CALLBACK(OnFocus), this);
}

GtkDialogPage::~GtkDialogPage() { Detach(); }

GtkWidget* GtkDialogPage::CreateWidget(const DialogItemTemplate& item, Control& control)
{
    switch (control.kind) {
    case DialogControlKind::PushButton:
        return gtk_button_new_with_mnemonic(MnemonicText(item.strText).c_str());
    case DialogControlKind::CheckBox:
        return gtk_check_button_new_with_mnemonic(MnemonicText(item.strText).c_str());
    case DialogControlKind::GroupBox: {
        GtkWidget* frame = gtk_frame_new(nullptr);
        gtk_frame_set_label_widget(GTK_FRAME(frame), gtk_label_new_with_mnemonic(MnemonicText(item.strText).c_str()));
        return frame;
    }
    case DialogControlKind::Label:
        control.bNoPrefix = item.IsNoPrefix();
        return NewLabel(item);
    case DialogControlKind::Icon: {
        GdkPixbuf* image = item.bTextIsOrdinal ? m_sheet.Icon(item.textOrdinal).Nearest(ICON_SIZE) : nullptr;
        if (image == nullptr)
            return nullptr;
        GtkWidget* picture = gtk_image_new_from_pixbuf(image);
        gtk_widget_set_halign(picture, GTK_ALIGN_START);
        gtk_widget_set_valign(picture, GTK_ALIGN_START);
        return picture;
    }
    case DialogControlKind::DropDownList:
        return gtk_combo_box_text_new();
    case DialogControlKind::Slider: {
        GtkAdjustment* adjustment = gtk_adjustment_new(0, 0, 100, 1, 20, 0);
        GtkWidget* scale = gtk_scale_new(GTK_ORIENTATION_HORIZONTAL, adjustment);
        gtk_scale_set_draw_value(GTK_SCALE(scale), FALSE);
        gtk_scale_set_digits(GTK_SCALE(scale), 0);
        control.bAutoTicks = item.HasAutoTicks();
        return scale;
    }
    case DialogControlKind::Other:
        break;
    }
    return nullptr;
}

void GtkDialogPage::Connect(Control& control)
{
    GtkWidget* widget = control.widget;
    switch (control.kind) {
    case DialogControlKind::PushButton:
        control.handlers.push_back(g_signal_connect(widget, "clicked", G_CALLBACK(OnClicked), &control));
        break;
    case DialogControlKind::CheckBox:
        control.handlers.push_back(g_signal_connect(widget, "toggled", G_CALLBACK(OnClicked), &control));
        break;
    case DialogControlKind::DropDownList:
        control.handlers.push_back(g_signal_connect(widget, "changed", G_CALLBACK(OnSelectionChanged), &control));
        break;
    case DialogControlKind::Slider:
        control.handlers.push_back(g_signal_connect(widget, "value-changed", G_CALLBACK(OnValueChanged), &control));
        control.handlers.push_back(
            g_signal_connect(widget, "button-release-event", G_CALLBACK(OnSliderReleased), &control));
        control.handlers.push_back(
            g_signal_connect(widget, "key-release-event", G_CALLBACK(OnSliderKeyReleased), &control));
        break;
    default:
        break;
    }
}

void GtkDialogPage::Detach()
{
    for (auto& control : m_controls) {
        for (const gulong handler : control->handlers)
            g_signal_handler_disconnect(control->widget, handler);
        control->handlers.clear();
    }
    if (m_pFixed != nullptr)
        g_signal_handlers_disconnect_by_data(m_pFixed, this);
    m_pFixed = nullptr;
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

void GtkDialogPage::FocusFirstTabStop()
{
    for (GtkWidget* widget : m_tabStops)
        if (TakeFocus(widget, GTK_DIR_TAB_FORWARD))
            return;
}

gboolean GtkDialogPage::MoveFocus(GtkDirectionType direction)
{
    if (m_tabStops.empty())
        return FALSE;
    const bool forward = direction == GTK_DIR_TAB_FORWARD;
    const int count = static_cast<int>(m_tabStops.size());
    GtkWidget* current = gtk_container_get_focus_child(GTK_CONTAINER(m_pFixed));
    const auto found = std::find(m_tabStops.begin(), m_tabStops.end(), current);
    int next = forward ? 0 : count - 1;
    if (current != nullptr && !GTK_IS_COMBO_BOX(current) && gtk_widget_has_focus(current) == FALSE &&
        gtk_widget_child_focus(current, direction))
        return TRUE;
    if (current != nullptr && found != m_tabStops.end())
        next = static_cast<int>(found - m_tabStops.begin()) + (forward ? 1 : -1);
    for (; next >= 0 && next < count; next += forward ? 1 : -1)
        if (TakeFocus(m_tabStops[next], direction))
            return TRUE;
    return FALSE;
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

void GtkDialogPage::OnClicked(GtkWidget*, gpointer data)
{
    auto* control = static_cast<Control*>(data);
    control->page->m_sheet.Handler().OnPageCommand(control->page->m_nPage, control->id, ControlNotice::Clicked);
}

void GtkDialogPage::OnSelectionChanged(GtkWidget* widget, gpointer data)
{
    auto* control = static_cast<Control*>(data);
    if (gtk_combo_box_get_active(GTK_COMBO_BOX(widget)) < 0)
        return;
    control->page->m_sheet.Handler().OnPageCommand(control->page->m_nPage, control->id,
                                                   ControlNotice::SelectionChanged);
}

void GtkDialogPage::OnValueChanged(GtkWidget*, gpointer data)
{
    auto* control = static_cast<Control*>(data);
    control->page->m_sheet.Handler().OnPageScroll(control->page->m_nPage, control->id);
}

gboolean GtkDialogPage::OnSliderReleased(GtkWidget*, GdkEvent*, gpointer data)
{
    OnValueChanged(nullptr, data);
    return FALSE;
}

gboolean GtkDialogPage::OnSliderKeyReleased(GtkWidget*, GdkEventKey* event, gpointer data)
{
    if (IsSliderKey(event->keyval))
        OnValueChanged(nullptr, data);
    return FALSE;
}

gboolean GtkDialogPage::OnFocus(GtkWidget* widget, GtkDirectionType direction, gpointer data)
{
    if (direction != GTK_DIR_TAB_FORWARD && direction != GTK_DIR_TAB_BACKWARD)
        return FALSE;
    // The tab order is the template's: the container's own geometric order
    // must not run after this handler, also when the focus leaves the page.
    g_signal_stop_emission_by_name(widget, "focus");
    return static_cast<GtkDialogPage*>(data)->MoveFocus(direction);
}
