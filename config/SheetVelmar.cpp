#include "config/SheetVelmar.h"

#include "res/resource.h"

namespace {
// The module's own file started with this command line runs the saver.
constexpr const char* PREVIEW_COMMAND_LINE = " -s";
}

CSheetVelmar::CSheetVelmar(Platform& platform, ParadeSettings& settings, MidiOut& midiOut, UINT captionId, HWND owner,
                           int startPage)
    : m_platform(platform),
      m_midiPage(settings, platform.GetResources(), midiOut),
      m_bgndPage(settings, platform.GetResources()),
      m_aniPage(settings, platform.GetResources()),
      m_pages{&m_midiPage, &m_bgndPage, &m_aniPage, &m_aboutPage}
{
    m_definition.strCaption = platform.GetResources().LoadString(captionId);
    m_definition.hOwner = owner;
    m_definition.nStartPage = startPage;
    for (const ConfigPage* page : m_pages)
        m_definition.pageTemplates.push_back(page->TemplateId());
}

SheetResult CSheetVelmar::DoModal() { return m_platform.GetDialogHost().RunSheet(m_definition, *this); }

ConfigPage* CSheetVelmar::CreatedPage(int page)
{
    if (page < 0 || page >= PAGE_COUNT || !m_created[page])
        return nullptr;
    return m_pages[page];
}

int CSheetVelmar::OnPageInit(int page, PageControls& controls)
{
    if (page < 0 || page >= PAGE_COUNT || m_created[page])
        return 0;
    m_created[page] = true;
    const int result = m_pages[page]->OnPageInit(controls);
    TellStoreNotice();
    return result;
}

void CSheetVelmar::OnSheetInit(SheetFrame& frame)
{
    frame.SetIcon(IDI_VELMAR);
    frame.MakeApplyCommand(m_platform.GetResources().LoadString(IDS_PREVIEW_LABEL), IDC_PREVIEW);
    TellStoreNotice();
}

void CSheetVelmar::OnPageCommand(int page, int controlId, ControlNotice notice)
{
    if (ConfigPage* created = CreatedPage(page))
        created->OnCommand(controlId, notice);
    TellStoreNotice();
}

void CSheetVelmar::OnPageScroll(int page, int controlId)
{
    if (ConfigPage* created = CreatedPage(page))
        created->OnSliderScroll(controlId);
    TellStoreNotice();
}

void CSheetVelmar::OnPageApply(int page) { static_cast<void>(page); }

void CSheetVelmar::OnPageReset(int page)
{
    if (ConfigPage* created = CreatedPage(page))
        created->OnPageCancel();
}

void CSheetVelmar::OnSheetCommand(int controlId)
{
    if (controlId == IDC_PREVIEW)
        OnPreview();
}

void CSheetVelmar::OnPreview()
{
    const std::string program = m_platform.GetSystem().ModulePath();
    if (!m_platform.GetDialogHost().StartProcess(program, PREVIEW_COMMAND_LINE))
        m_platform.GetDialogHost().ShowMessage("The preview could not be started: " + program + " does not run.");
}

void CSheetVelmar::TellStoreNotice()
{
    const std::string notice = m_platform.GetRegistry().TakeNotice();
    if (!notice.empty())
        m_platform.GetDialogHost().ShowMessage(notice);
}
