// The base units of a dialog font, measured the way the Windows dialog
// manager measures them: the average width of the 52 Latin letters and the
// font's line height, in pixels. A dialog unit is a quarter of the first
// horizontally and an eighth of the second vertically.
#pragma once

#include <gtk/gtk.h>

#include <string>

struct DialogBaseUnits {
    int cx = 0;
    int cy = 0;

    int X(int units) const;
    int Y(int units) const;
};

// The Pango description of a template's font: its face, with the desktop's
// sans serif face behind it, at its size in points.
std::string DialogFontDescription(const std::string& face, int points);

// Measured with `widget`'s Pango context (for the screen's resolution).
DialogBaseUnits MeasureDialogBaseUnits(GtkWidget* widget, const std::string& fontDescription);
