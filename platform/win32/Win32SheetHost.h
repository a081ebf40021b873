// The dialog host on Windows: the system's property sheet (PropertySheetA)
// with pages from the module's dialog templates, the sheet window
// subclassed for the command button made from Apply, and CreateProcessA
// for the second process.
#pragma once

#include "platform/DialogHost.h"

class Win32SheetHost : public DialogHost {
public:
    explicit Win32SheetHost(HINSTANCE instance) : m_hInstance(instance) {}

    SheetResult RunSheet(const SheetDefinition& sheet, SheetHandler& handler) override;
    bool StartProcess(const std::string& program, const std::string& commandLine) override;
    // A message box owned by the open sheet.
    void ShowMessage(const std::string& text) override;

private:
    HINSTANCE m_hInstance;
};
