// GtkSheetWindow's warnings: message dialogs owned by the sheet, modal to
// it, each gone with its OK button, so that the sheet is usable again. What
// a message says before its first colon is its headline, the rest the
// details (a file and the reason).
#include "platform/gtk/GtkSheetWindow.h"

void GtkSheetWindow::ShowMessage(const std::string& text)
{
    m_pendingMessages.push_back(text);
    if (m_nMessageIdle == 0)
        m_nMessageIdle = g_idle_add(OnMessagesWhenIdle, this);
}

gboolean GtkSheetWindow::OnMessagesWhenIdle(gpointer data)
{
    auto* sheet = static_cast<GtkSheetWindow*>(data);
    sheet->m_nMessageIdle = 0;
    for (const std::string& text : sheet->m_pendingMessages) {
        const auto colon = text.find(": ");
        const std::string headline = text.substr(0, colon);
        GtkWidget* dialog = gtk_message_dialog_new(GTK_WINDOW(sheet->m_pWindow),
                                                   static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL |
                                                                               GTK_DIALOG_DESTROY_WITH_PARENT),
                                                   GTK_MESSAGE_WARNING, GTK_BUTTONS_OK, "%s", headline.c_str());
        if (colon != std::string::npos)
            gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s", text.c_str() + colon + 2);
        gtk_window_set_title(GTK_WINDOW(dialog), gtk_window_get_title(GTK_WINDOW(sheet->m_pWindow)));
        g_signal_connect(dialog, "response", G_CALLBACK(gtk_widget_destroy), nullptr);
        gtk_widget_show(dialog);
    }
    sheet->m_pendingMessages.clear();
    return G_SOURCE_REMOVE;
}
