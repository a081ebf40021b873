// The open-file dialog of the GTK sheet, set up from the common dialog's
// request: filter pairs, initial file name and default extension.
#pragma once

#include "platform/DialogHost.h"

#include <gtk/gtk.h>

#include <optional>
#include <string>

// A new modal open-file dialog owned by `parent`; the caller runs and
// destroys it.
GtkWidget* NewOpenFileDialog(GtkWindow* parent, const OpenFileRequest& request);

// The full path of the file the accepted dialog chose. A typed name
// without extension that names no file takes the default extension when
// the file with it exists, as the common dialog does.
std::optional<std::string> ChosenFile(GtkWidget* dialog, const OpenFileRequest& request);
