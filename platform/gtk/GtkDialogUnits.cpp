#include "platform/gtk/GtkDialogUnits.h"

#include "platform/dialog/DialogTemplate.h"

namespace {
constexpr const char* LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
}

int DialogBaseUnits::X(int units) const { return DialogUnitsToPixels(units, cx, 4); }

int DialogBaseUnits::Y(int units) const { return DialogUnitsToPixels(units, cy, 8); }

std::string DialogFontDescription(const std::string& face, int points)
{
    return face + ",Sans " + std::to_string(points > 0 ? points : 8);
}

DialogBaseUnits MeasureDialogBaseUnits(GtkWidget* widget, const std::string& fontDescription)
{
    PangoLayout* layout = gtk_widget_create_pango_layout(widget, LETTERS);
    PangoFontDescription* font = pango_font_description_from_string(fontDescription.c_str());
    pango_layout_set_font_description(layout, font);
    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    pango_font_description_free(font);
    g_object_unref(layout);
    return DialogBaseUnits{(width / 26 + 1) / 2, height};
}
