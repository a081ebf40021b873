#include "platform/gtk/GtkSheetWindow.h"

#include "platform/dialog/SheetPages.h"
#include "platform/gtk/GtkFileDialog.h"

#include <gdk/gdkx.h>
#include <glib-unix.h>

#include <algorithm>

namespace {

// Margins and button sizes of a property sheet, in dialog units.
constexpr int SHEET_MARGIN = 7;
constexpr int PAGE_MARGIN = 4;
constexpr int BUTTON_WIDTH = 50;
constexpr int BUTTON_HEIGHT = 14;
constexpr int BUTTON_GAP = 4;

std::string SheetStyle(const std::string& fontFace, int points)
{
    const std::string face = fontFace.empty() ? "Sans" : fontFace;
    return "#dovezi-sheet, #dovezi-sheet * { font-family: \"" + face + "\", Sans; font-size: " +
           std::to_string(points > 0 ? points : 8) +
           "pt; }\n"
           "#dovezi-sheet button { padding: 0 4px; min-height: 0; min-width: 0; }\n"
           "#dovezi-sheet combobox button { padding: 0 4px; }\n"
           "#dovezi-sheet checkbutton { padding: 0; }\n"
           "#dovezi-sheet check { min-width: 12px; min-height: 12px; margin: 0 4px 0 0; }\n"
           "#dovezi-sheet notebook tab { padding: 2px 8px; min-height: 0; }\n"
           "#dovezi-sheet scale { padding: 2px 4px; }\n"
           "#dovezi-sheet frame > border { border-radius: 0; }\n"
           "#dovezi-sheet viewport { background-color: transparent; }\n";
}

}

GtkSheetWindow::GtkSheetWindow(const SheetDefinition& definition, std::vector<DialogTemplate> templates,
                               SheetHandler& handler, const SheetModuleContext& context)
    : m_handler(handler), m_context(context), m_templates(std::move(templates)), m_pStyle(gtk_css_provider_new()),
      m_pWindow(gtk_window_new(GTK_WINDOW_TOPLEVEL)), m_pLoop(g_main_loop_new(nullptr, FALSE))
{
    const DialogTemplate& first = m_templates.front();
    gtk_css_provider_load_from_data(m_pStyle, SheetStyle(first.strFontName, first.fontPoints).c_str(), -1, nullptr);
    gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(m_pWindow), GTK_STYLE_PROVIDER(m_pStyle),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    gtk_widget_set_name(m_pWindow, "dovezi-sheet");
    gtk_window_set_title(GTK_WINDOW(m_pWindow), definition.strCaption.c_str());
    gtk_window_set_resizable(GTK_WINDOW(m_pWindow), FALSE);
    gtk_window_set_position(GTK_WINDOW(m_pWindow), GTK_WIN_POS_CENTER);
    m_units = MeasureDialogBaseUnits(m_pWindow, DialogFontDescription(first.strFontName, first.fontPoints));

    int pageWidth = 0;
    int pageHeight = 0;
    for (const auto& page : m_templates) {
        pageWidth = std::max(pageWidth, m_units.X(page.cx));
        pageHeight = std::max(pageHeight, m_units.Y(page.cy));
    }

    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, m_units.Y(SHEET_MARGIN));
    gtk_container_set_border_width(GTK_CONTAINER(column), static_cast<guint>(m_units.X(SHEET_MARGIN)));
    gtk_container_add(GTK_CONTAINER(m_pWindow), column);
    m_pNotebook = gtk_notebook_new();
    gtk_box_pack_start(GTK_BOX(column), m_pNotebook, TRUE, TRUE, 0);
    for (const auto& page : m_templates) {
        // The page area keeps the size of the largest template whatever
        // sizes the controls ask for, as a dialog's client area does.
        GtkWidget* slot = gtk_scrolled_window_new(nullptr, nullptr);
        gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(slot), GTK_POLICY_EXTERNAL, GTK_POLICY_EXTERNAL);
        gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(slot), GTK_SHADOW_NONE);
        const int margin = m_units.X(PAGE_MARGIN);
        gtk_container_set_border_width(GTK_CONTAINER(slot), static_cast<guint>(margin));
        gtk_widget_set_size_request(slot, pageWidth + 2 * margin, pageHeight + 2 * margin);
        GtkWidget* tab = gtk_label_new_with_mnemonic(ConvertAccessKeys(page.strTitle, '_').c_str());
        gtk_notebook_append_page(GTK_NOTEBOOK(m_pNotebook), slot, tab);
        gtk_widget_show(slot);
        m_slots.push_back(slot);
    }
    m_pages.resize(m_templates.size());
    gtk_box_pack_start(GTK_BOX(column), NewButtonRow(), FALSE, FALSE, 0);

    g_signal_connect(m_pWindow, "delete-event", G_CALLBACK(OnDelete), this);
    g_signal_connect(m_pWindow, "key-press-event", G_CALLBACK(OnKeyPress), this);
    SetOwner(definition.hOwner);
    gtk_notebook_set_current_page(GTK_NOTEBOOK(m_pNotebook), definition.nStartPage);
}

GtkSheetWindow::~GtkSheetWindow()
{
    if (m_nEndWatch != 0)
        g_source_remove(m_nEndWatch);
    if (m_nCancelIdle != 0)
        g_source_remove(m_nCancelIdle);
    if (m_nMessageIdle != 0)
        g_source_remove(m_nMessageIdle);
    g_signal_handlers_disconnect_by_data(m_pWindow, this);
    g_signal_handlers_disconnect_by_data(m_pNotebook, this);
    for (auto& page : m_pages)
        if (page)
            page->Detach();
    gtk_widget_destroy(m_pWindow);
    gtk_style_context_remove_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(m_pStyle));
    g_object_unref(m_pStyle);
    g_main_loop_unref(m_pLoop);
}

GtkWidget* GtkSheetWindow::NewButtonRow()
{
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, m_units.X(BUTTON_GAP));
    gtk_widget_set_halign(row, GTK_ALIGN_END);
    GtkWidget* ok = gtk_button_new_with_label("OK");
    GtkWidget* cancel = gtk_button_new_with_label("Cancel");
    m_pApply = gtk_button_new_with_mnemonic("_Apply");
    gtk_widget_set_sensitive(m_pApply, FALSE);
    for (GtkWidget* button : {ok, cancel, m_pApply}) {
        gtk_widget_set_size_request(button, m_units.X(BUTTON_WIDTH), m_units.Y(BUTTON_HEIGHT));
        gtk_box_pack_start(GTK_BOX(row), button, FALSE, FALSE, 0);
    }
    g_signal_connect(ok, "clicked", G_CALLBACK(OnOk), this);
    g_signal_connect(cancel, "clicked", G_CALLBACK(OnCancel), this);
    g_signal_connect(m_pApply, "clicked", G_CALLBACK(OnApply), this);
    return row;
}

void GtkSheetWindow::SetOwner(HWND owner)
{
    if (owner == nullptr)
        return;
    GdkDisplay* display = gtk_widget_get_display(m_pWindow);
    if (!GDK_IS_X11_DISPLAY(display))
        return;
    gdk_x11_display_error_trap_push(display);
    GdkWindow* foreign =
        gdk_x11_window_foreign_new_for_display(display, static_cast<Window>(reinterpret_cast<std::uintptr_t>(owner)));
    gdk_x11_display_error_trap_pop_ignored(display);
    if (foreign == nullptr)
        return;
    gtk_widget_realize(m_pWindow);
    gdk_window_set_transient_for(gtk_widget_get_window(m_pWindow), foreign);
    g_object_unref(foreign);
}

const GtkIconImages& GtkSheetWindow::Icon(UINT id)
{
    auto& icon = m_icons[id];
    if (!icon)
        icon = std::make_unique<GtkIconImages>(m_context.pResources->Load(ResourceType::Icon, id));
    return *icon;
}

void GtkSheetWindow::SetIcon(UINT iconId)
{
    const GtkIconImages& icon = Icon(iconId);
    if (icon.Empty())
        return;
    GList* list = icon.List();
    gtk_window_set_icon_list(GTK_WINDOW(m_pWindow), list);
    g_list_free(list);
}

void GtkSheetWindow::MakeApplyCommand(const std::string& text, int controlId)
{
    gtk_button_set_label(GTK_BUTTON(m_pApply), ConvertAccessKeys(text, '_').c_str());
    gtk_button_set_use_underline(GTK_BUTTON(m_pApply), TRUE);
    gtk_widget_set_sensitive(m_pApply, TRUE);
    m_nApplyCommand = controlId;
}

void GtkSheetWindow::CreatePage(int page)
{
    if (page < 0 || page >= static_cast<int>(m_pages.size()) || m_pages[page])
        return;
    m_pages[page] = std::make_unique<GtkDialogPage>(*this, page, m_templates[page], m_units);
    gtk_container_add(GTK_CONTAINER(m_slots[page]), m_pages[page]->Widget());
    GtkWidget* viewport = gtk_bin_get_child(GTK_BIN(m_slots[page]));
    if (GTK_IS_VIEWPORT(viewport))
        gtk_viewport_set_shadow_type(GTK_VIEWPORT(viewport), GTK_SHADOW_NONE);
    gtk_widget_show_all(m_slots[page]);
    // A page shown by switching tabs gets the focus from the notebook.
    if (m_handler.OnPageInit(page, *m_pages[page]) != 0 && !gtk_widget_get_visible(m_pWindow))
        m_pages[page]->FocusFirstTabStop();
}

SheetResult GtkSheetWindow::Run()
{
    CreatePage(gtk_notebook_get_current_page(GTK_NOTEBOOK(m_pNotebook)));
    m_handler.OnSheetInit(*this);
    g_signal_connect(m_pNotebook, "switch-page", G_CALLBACK(OnSwitchPage), this);
    gtk_widget_show_all(m_pWindow);
    if (m_context.endSignalDescriptor >= 0 && m_context.takeEndSignal != nullptr)
        m_nEndWatch = g_unix_fd_add(m_context.endSignalDescriptor, G_IO_IN, OnEndSignal, this);
    gtk_window_present(GTK_WINDOW(m_pWindow));
    if (!m_result)
        g_main_loop_run(m_pLoop);
    return m_result.value_or(SheetResult::Cancel);
}

void GtkSheetWindow::Close(SheetResult result)
{
    if (m_result)
        return;
    EndCreatedPages(m_handler, m_pages, result);
    m_result = result;
    gtk_widget_hide(m_pWindow);
    g_main_loop_quit(m_pLoop);
}

void GtkSheetWindow::ShowNeighbourPage(int step)
{
    const int count = static_cast<int>(m_pages.size());
    const int current = gtk_notebook_get_current_page(GTK_NOTEBOOK(m_pNotebook));
    gtk_notebook_set_current_page(GTK_NOTEBOOK(m_pNotebook), (current + step + count) % count);
}

bool GtkSheetWindow::RunOpenFileDialog(const OpenFileRequest& request, std::string& path)
{
    if (m_pFileDialog != nullptr || m_result)
        return false;
    m_pFileDialog = NewOpenFileDialog(GTK_WINDOW(m_pWindow), request);
    const gint response = gtk_dialog_run(GTK_DIALOG(m_pFileDialog));
    std::optional<std::string> chosen;
    if (response == GTK_RESPONSE_ACCEPT)
        chosen = ChosenFile(m_pFileDialog, request);
    gtk_widget_destroy(m_pFileDialog);
    m_pFileDialog = nullptr;
    if (!chosen)
        return false;
    path = *chosen;
    return true;
}

void GtkSheetWindow::OnSwitchPage(GtkNotebook*, GtkWidget*, guint page, gpointer data)
{
    static_cast<GtkSheetWindow*>(data)->CreatePage(static_cast<int>(page));
}

void GtkSheetWindow::OnOk(GtkWidget*, gpointer data) { static_cast<GtkSheetWindow*>(data)->Close(SheetResult::Ok); }

void GtkSheetWindow::OnCancel(GtkWidget*, gpointer data)
{
    static_cast<GtkSheetWindow*>(data)->Close(SheetResult::Cancel);
}

void GtkSheetWindow::OnApply(GtkWidget*, gpointer data)
{
    auto* sheet = static_cast<GtkSheetWindow*>(data);
    if (sheet->m_nApplyCommand)
        sheet->m_handler.OnSheetCommand(*sheet->m_nApplyCommand);
}

gboolean GtkSheetWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer data)
{
    static_cast<GtkSheetWindow*>(data)->Close(SheetResult::Cancel);
    return TRUE;
}

gboolean GtkSheetWindow::OnKeyPress(GtkWidget* window, GdkEventKey* event, gpointer data)
{
    auto* sheet = static_cast<GtkSheetWindow*>(data);
    const guint modifiers = event->state & gtk_accelerator_get_default_mod_mask();
    if (event->keyval == GDK_KEY_Escape && modifiers == 0) {
        sheet->Close(SheetResult::Cancel);
        return TRUE;
    }
    if ((event->keyval == GDK_KEY_Tab || event->keyval == GDK_KEY_ISO_Left_Tab) && (modifiers & GDK_CONTROL_MASK)) {
        sheet->ShowNeighbourPage((modifiers & GDK_SHIFT_MASK) ? -1 : 1);
        return TRUE;
    }
    if ((event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter) && modifiers == 0) {
        GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window));
        const bool pressesButton = focus != nullptr && GTK_IS_BUTTON(focus) && !GTK_IS_TOGGLE_BUTTON(focus);
        if (!pressesButton) {
            sheet->Close(SheetResult::Ok);
            return TRUE;
        }
    }
    return FALSE;
}

gboolean GtkSheetWindow::OnEndSignal(gint, GIOCondition, gpointer data)
{
    auto* sheet = static_cast<GtkSheetWindow*>(data);
    if (!sheet->m_context.takeEndSignal())
        return G_SOURCE_CONTINUE;
    if (sheet->m_pFileDialog != nullptr)
        gtk_dialog_response(GTK_DIALOG(sheet->m_pFileDialog), GTK_RESPONSE_CANCEL);
    if (sheet->m_nCancelIdle == 0)
        sheet->m_nCancelIdle = g_idle_add(OnCancelWhenIdle, sheet);
    return G_SOURCE_CONTINUE;
}

gboolean GtkSheetWindow::OnCancelWhenIdle(gpointer data)
{
    auto* sheet = static_cast<GtkSheetWindow*>(data);
    if (sheet->m_pFileDialog != nullptr)
        return G_SOURCE_CONTINUE;
    sheet->m_nCancelIdle = 0;
    sheet->Close(SheetResult::Cancel);
    return G_SOURCE_REMOVE;
}
