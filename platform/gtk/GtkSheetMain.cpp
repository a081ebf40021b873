// The entry of the settings sheet's module.
#include "platform/gtk/GtkSheetHost.h"

extern "C" __attribute__((visibility("default"))) SheetShower* dovezi_new_sheet_shower(const SheetModuleContext& context)
{
    return new GtkSheetHost(context);
}
