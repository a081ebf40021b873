// The configuration sheet as a GTK window: a notebook with one tab per
// page, pages built when their tab is first shown, and the OK, Cancel and
// Apply buttons. Escape and the close box act as Cancel, Enter as OK.
#pragma once

#include "platform/DialogHost.h"
#include "platform/sheet/SheetModuleEntry.h"
#include "platform/dialog/DialogTemplate.h"
#include "platform/gtk/GtkDialogPage.h"
#include "platform/gtk/GtkDialogUnits.h"
#include "platform/gtk/GtkIconImages.h"
#include "platform/gtk/GtkPageSite.h"

#include <gtk/gtk.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class GtkSheetWindow : public SheetFrame, public GtkPageSite {
public:
    GtkSheetWindow(const SheetDefinition& definition, std::vector<DialogTemplate> templates, SheetHandler& handler,
                   const SheetModuleContext& context);
    ~GtkSheetWindow() override;
    GtkSheetWindow(const GtkSheetWindow&) = delete;
    GtkSheetWindow& operator=(const GtkSheetWindow&) = delete;

    // Shows the sheet and runs its modal loop until it is closed.
    SheetResult Run();

    SheetHandler& Handler() override { return m_handler; }
    const GtkIconImages& Icon(UINT id) override;
    bool RunOpenFileDialog(const OpenFileRequest& request, std::string& path) override;

    // A warning owned by the sheet, shown once the sheet's loop runs.
    void ShowMessage(const std::string& text);

    void SetIcon(UINT iconId) override;
    void MakeApplyCommand(const std::string& text, int controlId) override;

private:
    GtkWidget* NewButtonRow();
    void SetOwner(HWND owner);
    void CreatePage(int page);
    void Close(SheetResult result);
    void ShowNeighbourPage(int step);

    static void OnSwitchPage(GtkNotebook* notebook, GtkWidget* child, guint page, gpointer data);
    static void OnOk(GtkWidget* button, gpointer data);
    static void OnCancel(GtkWidget* button, gpointer data);
    static void OnApply(GtkWidget* button, gpointer data);
    static gboolean OnDelete(GtkWidget* window, GdkEvent* event, gpointer data);
    static gboolean OnKeyPress(GtkWidget* window, GdkEventKey* event, gpointer data);
    static gboolean OnEndSignal(gint descriptor, GIOCondition condition, gpointer data);
    static gboolean OnCancelWhenIdle(gpointer data);
    static gboolean OnMessagesWhenIdle(gpointer data);

    SheetHandler& m_handler;
    const SheetModuleContext& m_context;
    std::vector<DialogTemplate> m_templates;
    DialogBaseUnits m_units;
    GtkCssProvider* m_pStyle;
    GtkWidget* m_pWindow;
    GtkWidget* m_pNotebook = nullptr;
    GtkWidget* m_pApply = nullptr;
    std::vector<GtkWidget*> m_slots;
    std::vector<std::unique_ptr<GtkDialogPage>> m_pages;
    std::map<UINT, std::unique_ptr<GtkIconImages>> m_icons;
    std::optional<int> m_nApplyCommand;
    GMainLoop* m_pLoop;
    GtkWidget* m_pFileDialog = nullptr;
    guint m_nEndWatch = 0;
    guint m_nCancelIdle = 0;
    std::vector<std::string> m_pendingMessages;
    guint m_nMessageIdle = 0;
    std::optional<SheetResult> m_result;
};
