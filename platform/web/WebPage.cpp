#include "platform/web/WebPage.h"

#include "platform/web/WebBridge.h"

#include <sstream>

namespace {

// The dialog font's base units on the page, in CSS pixels.
constexpr int BASE_UNIT_X = 8;
constexpr int BASE_UNIT_Y = 15;
// Put before a control text's access key in the texts given to the page.
constexpr char ACCESS_KEY_MARK = '\x01';

int PixelsX(int units) { return DialogUnitsToPixels(units, BASE_UNIT_X, 4); }
int PixelsY(int units) { return DialogUnitsToPixels(units, BASE_UNIT_Y, 8); }

std::string ShownText(const std::string& text, bool noPrefix)
{
    return noPrefix ? text : ConvertAccessKeys(text, ACCESS_KEY_MARK);
}

}

SIZE PagePixels(const DialogTemplate& dialog) { return SIZE{PixelsX(dialog.cx), PixelsY(dialog.cy)}; }

WebPage::WebPage(int index, const DialogTemplate& dialog, const Resources& resources)
    : PageModel(dialog), m_nIndex(index)
{
    for (const DialogItemTemplate& item : dialog.items) {
        const DialogControlKind kind = item.Kind();
        if (kind == DialogControlKind::Other)
            continue;
        if (item.IsNoPrefix())
            m_noPrefix.insert(item.id);
        web_control_add(m_nIndex, item.id, static_cast<int>(kind), ShownText(item.strText, item.IsNoPrefix()).c_str(), PixelsX(item.x),
                        PixelsY(item.y), PixelsX(item.cx), PixelsY(item.cy), static_cast<int>(item.Align()),
                        item.IsDisabled() ? 1 : 0);
        if (kind == DialogControlKind::Icon && item.bTextIsOrdinal) {
            const ResourceBlock icon = resources.Load(ResourceType::Icon, item.textOrdinal);
            if (icon.data != nullptr)
                web_control_icon(icon.data, icon.size);
        }
    }
}

void WebPage::BeginCommand(int id, std::optional<std::string> chosen)
{
    m_nCommandId = id;
    m_chosen = std::move(chosen);
}

bool WebPage::ChooseFileToOpen(const OpenFileRequest& request, std::string& path)
{
    if (m_chosen) {
        path = *m_chosen;
        m_chosen.reset();
        return true;
    }
    web_choose_file(m_nIndex, m_nCommandId, AcceptedExtensions(request.strFilter).c_str());
    return false;
}

void WebPage::Changed(int id, const ControlState& control)
{
    switch (control.kind) {
    case DialogControlKind::DropDownList:
        web_control_clear(m_nIndex, id);
        for (const std::string& entry : control.entries)
            web_control_add_entry(m_nIndex, id, entry.c_str());
        web_control_select(m_nIndex, id, control.nSelection);
        break;
    case DialogControlKind::Slider:
        web_control_range(m_nIndex, id, control.nMin, control.nMax, control.nTicFreq, control.nPageSize,
                          control.nLineSize);
        web_control_set_value(m_nIndex, id, control.nPos);
        break;
    case DialogControlKind::CheckBox:
        web_control_set_value(m_nIndex, id, control.nCheck);
        break;
    default:
        break;
    }
    if (control.kind != DialogControlKind::DropDownList && control.kind != DialogControlKind::Slider)
        web_control_set_text(m_nIndex, id, ShownText(control.strText, m_noPrefix.count(id) != 0).c_str());
    web_control_enable(m_nIndex, id, control.bEnabled ? 1 : 0);
}

std::string AcceptedExtensions(const std::string& filter)
{
    std::string accepted;
    std::istringstream parts(filter);
    std::string description;
    std::string patterns;
    while (std::getline(parts, description, '|') && std::getline(parts, patterns, '|')) {
        std::istringstream each(patterns);
        std::string pattern;
        while (std::getline(each, pattern, ';')) {
            if (pattern.rfind("*.", 0) != 0 || pattern == "*.*")
                return {};
            accepted += (accepted.empty() ? "" : ",") + pattern.substr(1);
        }
    }
    return accepted;
}
