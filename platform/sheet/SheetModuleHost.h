// The dialog host of the Linux program. Its settings sheet lives in a
// module of its own, loaded the first time a sheet is shown, so that the
// saver never loads the toolkit; the Preview's second process is started
// from here.
#pragma once

#include "platform/sheet/SheetModuleEntry.h"

#include <memory>
#include <string>
#include <vector>

class SheetModuleHost : public DialogHost {
public:
    explicit SheetModuleHost(Resources& resources);
    ~SheetModuleHost() override;

    SheetModuleHost(const SheetModuleHost&) = delete;
    SheetModuleHost& operator=(const SheetModuleHost&) = delete;

    // Failed when the module cannot be loaded (said once on standard
    // error), there is no display, or a page's template is missing.
    SheetResult RunSheet(const SheetDefinition& sheet, SheetHandler& handler) override;
    // The command line's words after the first (the program-name word,
    // which `program` replaces) become the arguments.
    bool StartProcess(const std::string& program, const std::string& commandLine) override;
    // In the open sheet; without one, on standard error.
    void ShowMessage(const std::string& text) override;

private:
    // The module's sheet, loaded on first use; null when it cannot be.
    SheetShower* Shower();

    SheetModuleContext m_context;
    std::unique_ptr<SheetShower> m_pShower;
    bool m_bLoadTried = false;
};

// Where the module is looked for: beside the program (a build), then in the
// library folder of an installation, reached from the program's folder.
std::vector<std::string> SheetModuleCandidates(const std::string& programPath);
