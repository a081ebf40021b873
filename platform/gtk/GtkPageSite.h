// What a page of the GTK sheet asks of the sheet that holds it: the
// handler its controls notify, the pictures of its icons and the open-file
// dialog, owned by the sheet's window.
#pragma once

#include "platform/DialogHost.h"
#include "platform/gtk/GtkIconImages.h"

#include <string>

class GtkPageSite {
public:
    virtual SheetHandler& Handler() = 0;
    // The pictures of an icon resource, loaded once; empty when missing.
    virtual const GtkIconImages& Icon(UINT id) = 0;
    virtual bool RunOpenFileDialog(const OpenFileRequest& request, std::string& path) = 0;

protected:
    ~GtkPageSite() = default;
};
