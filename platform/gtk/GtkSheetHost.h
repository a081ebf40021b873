// The settings sheet as a GTK 3 window, as the sheet's module gives it to
// the program.
#pragma once

#include "platform/sheet/SheetModuleEntry.h"

class GtkSheetWindow;

class GtkSheetHost : public SheetShower {
public:
    explicit GtkSheetHost(const SheetModuleContext& context) : m_context(context) {}

    // Failed when there is no display to show it on or a page's template
    // is missing.
    SheetResult RunSheet(const SheetDefinition& sheet, SheetHandler& handler) override;
    bool ShowMessage(const std::string& text) override;

private:
    SheetModuleContext m_context;
    GtkSheetWindow* m_pOpenSheet = nullptr;
};
