// GtkDialogPage's notifications: the widgets' signals, connected while the
// page lives, told to the sheet's handler as the user's actions.
#include "platform/gtk/GtkDialogPage.h"

namespace {

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
