// The dialog host on Linux: the sheet as a GTK 3 window, and the Preview's
// second process started detached from this one.
#pragma once

#include "platform/DialogHost.h"
#include "platform/Resources.h"

class GtkSheetWindow;

class GtkDialogHost : public DialogHost {
public:
    explicit GtkDialogHost(Resources& resources) : m_resources(resources) {}

    // Failed when there is no display to show it on or a page's template
    // is missing.
    SheetResult RunSheet(const SheetDefinition& sheet, SheetHandler& handler) override;
    // The command line's words after the first (the program-name word,
    // which `program` replaces) become the arguments.
    bool StartProcess(const std::string& program, const std::string& commandLine) override;
    // In the open sheet; without one, on standard error.
    void ShowMessage(const std::string& text) override;

private:
    Resources& m_resources;
    GtkSheetWindow* m_pOpenSheet = nullptr;
};
