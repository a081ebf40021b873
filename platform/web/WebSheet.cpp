#include "platform/web/WebSheet.h"

#include "platform/dialog/SheetPages.h"
#include "platform/web/WebBridge.h"


std::unique_ptr<WebSheet> WebSheet::Open(const Resources& resources, const SheetDefinition& definition,
                                         SheetHandler& handler)
{
    auto templates = LoadSheetTemplates(resources, definition);
    if (!templates)
        return nullptr;
    const int count = static_cast<int>(templates->size());
    web_sheet_open(definition.strCaption.c_str(), count, definition.nStartPage);
    for (int page = 0; page < count; ++page) {
        const DialogTemplate& dialog = (*templates)[static_cast<std::size_t>(page)];
        const SIZE size = PagePixels(dialog);
        web_sheet_tab(page, ConvertAccessKeys(dialog.strTitle, '\x01').c_str(), size.cx, size.cy);
    }
    std::unique_ptr<WebSheet> sheet(new WebSheet(resources, std::move(*templates), handler));
    sheet->ShowPage(definition.nStartPage);
    handler.OnSheetInit(*sheet);
    return sheet;
}

WebSheet::WebSheet(const Resources& resources, std::vector<DialogTemplate> templates, SheetHandler& handler)
    : m_resources(resources), m_templates(std::move(templates)), m_handler(handler)
{
    m_pages.resize(m_templates.size());
}

WebSheet::~WebSheet()
{
    if (m_bOpen)
        web_sheet_close();
}

void WebSheet::SetIcon(UINT iconId)
{
    const ResourceBlock icon = m_resources.Load(ResourceType::Icon, iconId);
    if (icon.data != nullptr)
        web_sheet_icon(icon.data, icon.size);
}

void WebSheet::MakeApplyCommand(const std::string& text, int controlId)
{
    web_sheet_apply_command(ConvertAccessKeys(text, '\x01').c_str(), controlId);
}

WebPage* WebSheet::Created(int page)
{
    if (!m_bOpen || page < 0 || page >= static_cast<int>(m_pages.size()))
        return nullptr;
    return m_pages[static_cast<std::size_t>(page)].get();
}

void WebSheet::ShowPage(int page)
{
    if (!m_bOpen || page < 0 || page >= static_cast<int>(m_pages.size()) || Created(page) != nullptr)
        return;
    auto& slot = m_pages[static_cast<std::size_t>(page)];
    slot = std::make_unique<WebPage>(page, m_templates[static_cast<std::size_t>(page)], m_resources);
    m_handler.OnPageInit(page, *slot);
}

void WebSheet::Command(int page, int id, ControlNotice notice, std::optional<std::string> chosen)
{
    WebPage* shown = Created(page);
    if (shown == nullptr)
        return;
    shown->BeginCommand(id, std::move(chosen));
    m_handler.OnPageCommand(page, id, notice);
    if (WebPage* still = Created(page))
        still->BeginCommand(0, std::nullopt);
}

void WebSheet::Click(int page, int id)
{
    WebPage* shown = Created(page);
    if (shown != nullptr && shown->ClickByUser(id))
        Command(page, id, ControlNotice::Clicked);
}

void WebSheet::PickEntry(int page, int id, int index)
{
    WebPage* shown = Created(page);
    if (shown != nullptr && shown->PickByUser(id, index))
        Command(page, id, ControlNotice::SelectionChanged);
}

void WebSheet::Slide(int page, int id, int position)
{
    WebPage* shown = Created(page);
    if (shown != nullptr && shown->SlideByUser(id, position))
        m_handler.OnPageScroll(page, id);
}

// The pick repeats the push button's click, which this time gets the file.
void WebSheet::ChooseFile(int page, int id, const std::string& path)
{
    WebPage* shown = Created(page);
    if (shown != nullptr && shown->IsUsable(id, DialogControlKind::PushButton))
        Command(page, id, ControlNotice::Clicked, path);
}

void WebSheet::PressSheetCommand(int controlId)
{
    if (m_bOpen)
        m_handler.OnSheetCommand(controlId);
}

void WebSheet::End(SheetResult result)
{
    if (!m_bOpen)
        return;
    EndCreatedPages(m_handler, m_pages, result);
    m_bOpen = false;
    web_sheet_close();
}
