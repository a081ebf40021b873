#include "platform/gtk/GtkFileDialog.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    for (const char c : text) {
        if (c == separator) {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

// Windows matches file patterns without regard to case, and "*.*" matches
// names without a dot too.
std::string CaseFreePattern(const std::string& pattern)
{
    if (pattern == "*.*")
        return "*";
    std::string converted;
    for (const char c : pattern) {
        const auto letter = static_cast<unsigned char>(c);
        if (std::isalpha(letter)) {
            converted += '[';
            converted += static_cast<char>(std::tolower(letter));
            converted += static_cast<char>(std::toupper(letter));
            converted += ']';
        } else {
            converted += c;
        }
    }
    return converted;
}

void AddFilters(GtkFileChooser* chooser, const std::string& filter)
{
    const std::vector<std::string> parts = Split(filter, '|');
    for (std::size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) {
        GtkFileFilter* fileFilter = gtk_file_filter_new();
        gtk_file_filter_set_name(fileFilter, parts[i].c_str());
        for (const auto& pattern : Split(parts[i + 1], ';'))
            if (!pattern.empty())
                gtk_file_filter_add_pattern(fileFilter, CaseFreePattern(pattern).c_str());
        gtk_file_chooser_add_filter(chooser, fileFilter);
    }
}

void PresetName(GtkFileChooser* chooser, const std::string& name)
{
    if (name.empty())
        return;
    if (g_file_test(name.c_str(), G_FILE_TEST_IS_REGULAR)) {
        gtk_file_chooser_set_filename(chooser, name.c_str());
        return;
    }
    gchar* folder = g_path_get_dirname(name.c_str());
    if (g_file_test(folder, G_FILE_TEST_IS_DIR))
        gtk_file_chooser_set_current_folder(chooser, folder);
    g_free(folder);
}

// The chooser sizes itself when it is mapped, from the toolkit's own
// preference, which is larger than a small screen: without a window manager
// its buttons are then out of reach. After that it is given a size and
// place within the screen's work area.
void FitToScreen(GtkWidget* widget, gpointer)
{
    constexpr int PREFERRED_WIDTH = 760;
    constexpr int PREFERRED_HEIGHT = 520;
    constexpr int MARGIN = 24;
    GtkWindow* dialog = GTK_WINDOW(widget);
    GdkRectangle area{0, 0, PREFERRED_WIDTH + 2 * MARGIN, PREFERRED_HEIGHT + 2 * MARGIN};
    GdkDisplay* display = gtk_widget_get_display(widget);
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (monitor == nullptr)
        monitor = gdk_display_get_monitor(display, 0);
    if (monitor != nullptr)
        gdk_monitor_get_workarea(monitor, &area);
    const int width = std::max(1, std::min(PREFERRED_WIDTH, area.width - 2 * MARGIN));
    const int height = std::max(1, std::min(PREFERRED_HEIGHT, area.height - 2 * MARGIN));
    gtk_window_resize(dialog, width, height);
    gtk_window_move(dialog, area.x + (area.width - width) / 2, area.y + (area.height - height) / 2);
}

}

GtkWidget* NewOpenFileDialog(GtkWindow* parent, const OpenFileRequest& request)
{
    GtkWidget* dialog = gtk_file_chooser_dialog_new("Open", parent, GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel",
                                                    GTK_RESPONSE_CANCEL, "_Open", GTK_RESPONSE_ACCEPT, nullptr);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    g_signal_connect_after(dialog, "map", G_CALLBACK(FitToScreen), nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_file_chooser_set_local_only(chooser, TRUE);
    AddFilters(chooser, request.strFilter);
    PresetName(chooser, request.strInitialName);
    return dialog;
}

std::optional<std::string> ChosenFile(GtkWidget* dialog, const OpenFileRequest& request)
{
    gchar* chosen = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog));
    if (chosen == nullptr)
        return std::nullopt;
    std::string path = chosen;
    g_free(chosen);
    const auto slash = path.rfind('/');
    const bool hasExtension = path.find('.', slash == std::string::npos ? 0 : slash) != std::string::npos;
    if (!hasExtension && !request.strDefaultExt.empty() && !g_file_test(path.c_str(), G_FILE_TEST_EXISTS)) {
        const std::string extended = path + "." + request.strDefaultExt;
        if (g_file_test(extended.c_str(), G_FILE_TEST_EXISTS))
            path = extended;
    }
    return path;
}
