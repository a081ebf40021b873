// The open sheet in the page's document: its tabs, its pages made the first
// time they are shown, and the user's actions handed to the sheet's logic.
// OK applies and Cancel resets the created pages, then the sheet closes.
#pragma once

#include "platform/DialogHost.h"
#include "platform/dialog/DialogTemplate.h"
#include "platform/web/WebPage.h"

#include <memory>
#include <vector>

class WebSheet : public SheetFrame {
public:
    // Shows the sheet; null when a page's template is missing.
    static std::unique_ptr<WebSheet> Open(const Resources& resources, const SheetDefinition& definition,
                                          SheetHandler& handler);
    ~WebSheet() override;

    void SetIcon(UINT iconId) override;
    void MakeApplyCommand(const std::string& text, int controlId) override;

    // The user's actions; those on pages never shown or on disabled
    // controls are ignored.
    void ShowPage(int page);
    void Click(int page, int id);
    void PickEntry(int page, int id, int index);
    void Slide(int page, int id, int position);
    void ChooseFile(int page, int id, const std::string& path);
    void PressSheetCommand(int controlId);
    void End(SheetResult result);
    bool IsOpen() const { return m_bOpen; }

private:
    WebSheet(const Resources& resources, std::vector<DialogTemplate> templates, SheetHandler& handler);
    WebPage* Created(int page);
    void Command(int page, int id, ControlNotice notice, std::optional<std::string> chosen = {});

    const Resources& m_resources;
    std::vector<DialogTemplate> m_templates;
    SheetHandler& m_handler;
    std::vector<std::unique_ptr<WebPage>> m_pages;
    bool m_bOpen = true;
};
