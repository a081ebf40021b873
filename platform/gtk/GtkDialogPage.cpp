// GtkDialogPage's layout: the template's controls made into widgets and put
// at their places, converted from dialog units, and the tab order kept as
// the template gives it.
#include "platform/gtk/GtkDialogPage.h"

#include <algorithm>

namespace {

constexpr int ICON_SIZE = 32;

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

GtkDialogPage::GtkDialogPage(GtkPageSite& sheet, int pageIndex, const DialogTemplate& dialog,
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

gboolean GtkDialogPage::OnFocus(GtkWidget* widget, GtkDirectionType direction, gpointer data)
{
    if (direction != GTK_DIR_TAB_FORWARD && direction != GTK_DIR_TAB_BACKWARD)
        return FALSE;
    // The tab order is the template's: the container's own geometric order
    // must not run after this handler, also when the focus leaves the page.
    g_signal_stop_emission_by_name(widget, "focus");
    return static_cast<GtkDialogPage*>(data)->MoveFocus(direction);
}
