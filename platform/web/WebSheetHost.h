// The dialog host of the page. A browser cannot run a sheet modally, so the
// page opens the sheet with WebSheet, which returns at once and hears of
// the user's actions as the page's events come; RunSheet answers Failed.
// The Preview's second process is the saver started in the same page.
#pragma once

#include "platform/DialogHost.h"

class WebSheetHost : public DialogHost {
public:
    SheetResult RunSheet(const SheetDefinition&, SheetHandler&) override { return SheetResult::Failed; }
    // Starts the full-screen saver when the command line asks for it.
    bool StartProcess(const std::string& program, const std::string& commandLine) override;
    void ShowMessage(const std::string& text) override;
};
