// One page of the sheet in the page's document: the model of its controls,
// drawn as HTML controls that follow every change the page's code makes.
// The open-file dialog is split in two, as a page cannot wait for the
// user: the first click of the command opens the browser's file picker and
// answers "cancelled"; the pick repeats the command, which then gets the
// file.
#pragma once

#include "platform/dialog/PageModel.h"

#include <optional>
#include <set>
#include <string>

class WebPage : public PageModel {
public:
    // Adds the template's controls to page `index` of the open sheet.
    WebPage(int index, const DialogTemplate& dialog, const Resources& resources);

    bool ChooseFileToOpen(const OpenFileRequest& request, std::string& path) override;

    // The command of control `id` is being handled; `chosen` is the file
    // the user picked for it, if any.
    void BeginCommand(int id, std::optional<std::string> chosen);

protected:
    void Changed(int id, const ControlState& control) override;

private:
    int m_nIndex;
    int m_nCommandId = 0;
    std::optional<std::string> m_chosen;
    // Controls that show '&' as it is.
    std::set<int> m_noPrefix;
};

// The size of a page of this template on the page, in CSS pixels.
SIZE PagePixels(const DialogTemplate& dialog);

// The browser's file picker's list of extensions (".mid,.rmi") for the
// patterns of an open-file filter ("MIDI (*.mid;*.rmi)|*.mid;*.rmi||");
// empty when a pattern takes every file.
std::string AcceptedExtensions(const std::string& filter);
