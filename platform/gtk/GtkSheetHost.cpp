#include "platform/gtk/GtkSheetHost.h"

#include "platform/dialog/DialogTemplate.h"
#include "platform/gtk/GtkSheetWindow.h"

#include <gtk/gtk.h>

SheetResult GtkSheetHost::RunSheet(const SheetDefinition& sheet, SheetHandler& handler)
{
    if (!gtk_init_check(nullptr, nullptr))
        return SheetResult::Failed;
    auto templates = LoadSheetTemplates(*m_context.pResources, sheet);
    if (!templates)
        return SheetResult::Failed;
    GtkSheetWindow window(sheet, std::move(*templates), handler, m_context);
    m_pOpenSheet = &window;
    const SheetResult result = window.Run();
    m_pOpenSheet = nullptr;
    return result;
}

bool GtkSheetHost::ShowMessage(const std::string& text)
{
    if (m_pOpenSheet == nullptr)
        return false;
    m_pOpenSheet->ShowMessage(text);
    return true;
}
