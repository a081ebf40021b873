#include "config/BGndPage.h"

#include "app/SettingsKeys.h"
#include "parade/BackgroundStyle.h"
#include "res/resource.h"

namespace {
constexpr int STYLE_COUNT = 7;
constexpr int GAMMA_LIMIT = 255;
constexpr int GAMMA_TICK_FREQUENCY = 32;
constexpr int GAMMA_PAGE_SIZE = 32;
constexpr int GAMMA_LINE_SIZE = 1;
}

CBGndPage::CBGndPage(ParadeSettings& settings, Resources& resources)
    : ConfigPage(IDD_BACKGROUND_PAGE), m_settings(settings), m_resources(resources)
{
}

int CBGndPage::OnPageInit(PageControls& controls)
{
    ConfigPage::OnPageInit(controls);
    FillStyleList();
    InitGammaSlider();
    return 1;
}

void CBGndPage::FillStyleList()
{
    Controls().ResetContent(IDC_STYLE_LIST);
    for (int style = 0; style < STYLE_COUNT; ++style)
        Controls().AddString(IDC_STYLE_LIST, m_resources.LoadString(IDS_BACKGROUND_FIRST + style));
    m_nSavedStyle = m_settings.ReadInt(KEY_BACKGROUND, DEFAULT_BACKGROUND);
    Controls().SetCurSel(IDC_STYLE_LIST, m_nSavedStyle);
    OnStyleChanged();
}

void CBGndPage::InitGammaSlider()
{
    m_nSavedGamma = m_settings.ReadInt(KEY_GAMMA, DEFAULT_GAMMA);
    Controls().SetRange(IDC_GAMMA_SLIDER, -GAMMA_LIMIT, GAMMA_LIMIT, false);
    Controls().SetTicFreq(IDC_GAMMA_SLIDER, GAMMA_TICK_FREQUENCY);
    Controls().SetPageSize(IDC_GAMMA_SLIDER, GAMMA_PAGE_SIZE);
    Controls().SetLineSize(IDC_GAMMA_SLIDER, GAMMA_LINE_SIZE);
    Controls().SetPos(IDC_GAMMA_SLIDER, m_nSavedGamma, true);
}

void CBGndPage::OnCommand(int controlId, ControlNotice notice)
{
    if (controlId == IDC_STYLE_LIST && notice == ControlNotice::SelectionChanged)
        OnStyleChanged();
}

void CBGndPage::OnStyleChanged()
{
    const int selection = Controls().GetCurSel(IDC_STYLE_LIST);
    if (selection < 0)
        return;
    Controls().EnableControl(IDC_GAMMA_SLIDER, selection == BACKGROUND_GAMMA);
    m_settings.WriteInt(KEY_BACKGROUND, selection);
}

void CBGndPage::OnSliderScroll(int controlId)
{
    if (controlId == IDC_GAMMA_SLIDER)
        m_settings.WriteInt(KEY_GAMMA, Controls().GetPos(IDC_GAMMA_SLIDER));
}

void CBGndPage::OnPageCancel()
{
    m_settings.WriteInt(KEY_BACKGROUND, m_nSavedStyle);
    m_settings.WriteInt(KEY_GAMMA, m_nSavedGamma);
}
