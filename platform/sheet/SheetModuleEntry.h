// What the settings sheet's module and the program hand each other: the
// program lends its resources and its end signals, the module gives a sheet
// shown in its toolkit. The module exports one function, named
// SHEET_MODULE_ENTRY, of the type SheetModuleEntry.
#pragma once

#include "platform/DialogHost.h"
#include "platform/Resources.h"

#include <string>

struct SheetModuleContext {
    Resources* pResources = nullptr;
    // Readable while an end signal waits to be taken (-1: none come); the
    // open sheet then closes as Cancel closes it.
    int endSignalDescriptor = -1;
    // True once for every end signal that arrived.
    bool (*takeEndSignal)() = nullptr;
};

class SheetShower {
public:
    virtual ~SheetShower() = default;

    // As DialogHost::RunSheet.
    virtual SheetResult RunSheet(const SheetDefinition& sheet, SheetHandler& handler) = 0;
    // Tells the user `text` in the open sheet; false when none is open.
    virtual bool ShowMessage(const std::string& text) = 0;
};

// A new sheet for the program's whole run; the context outlives it.
using SheetModuleEntry = SheetShower* (*)(const SheetModuleContext& context);

inline constexpr const char* SHEET_MODULE_ENTRY = "dovezi_new_sheet_shower";
inline constexpr const char* SHEET_MODULE_FILE = "dovezi-sheet.so";
