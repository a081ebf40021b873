#include "config/AniPage.h"

#include "app/SettingsKeys.h"
#include "res/resource.h"

#include <algorithm>
#include <string>

namespace {
constexpr int NOT_RECORDED = -1;

constexpr int SPEED_SLIDER_MIN = 1;
constexpr int SPEED_SLIDER_MAX = 200;
constexpr int SPEED_TICK_FREQUENCY = 10;
constexpr int SPEED_PAGE_SIZE = 10;
constexpr int SPEED_LINE_SIZE = 1;

constexpr int COUNT_SLIDER_MIN = 1;
constexpr int COUNT_SLIDER_MAX = 10;
constexpr int COUNT_TICK_FREQUENCY = 1;
constexpr int COUNT_PAGE_SIZE = 2;
constexpr int COUNT_LINE_SIZE = 1;

// Slider position p stands for the timer interval 201 - p, so that the
// slider runs from slow on the left to fast on the right.
int SpeedFromPosition(int position) { return SPEED_SLIDER_MAX + 1 - position; }

// The slider clamps the position itself; clamping here first keeps stored
// speeds far outside the range from overflowing on the way.
int PositionFromSpeed(int speed)
{
    const long long position = SPEED_SLIDER_MAX + 1LL - speed;
    return static_cast<int>(std::clamp<long long>(position, SPEED_SLIDER_MIN, SPEED_SLIDER_MAX));
}
}

CAniPage::CAniPage(ParadeSettings& settings, Resources& resources)
    : ConfigPage(IDD_ANIMATION_PAGE), m_settings(settings)
{
    for (int unit = 0; unit < UNIT_KIND_COUNT; ++unit)
        m_unitNames[unit] = resources.LoadString(IDS_UNIT_FIRST + unit);
    for (std::size_t size = 0; size < m_unitSizeNames.size(); ++size)
        m_unitSizeNames[size] = resources.LoadString(IDS_UNIT_SIZE_FIRST + static_cast<UINT>(size));
}

int CAniPage::OnPageInit(PageControls& controls)
{
    ConfigPage::OnPageInit(controls);
    m_nSavedCounts.fill(NOT_RECORDED);
    m_nSavedMarch.fill(NOT_RECORDED);
    FillUnitList();
    InitSpeedSlider();
    FillUnitSizeList();
    return 1;
}

void CAniPage::FillUnitList()
{
    Controls().ResetContent(IDC_UNIT_LIST);
    for (const auto& name : m_unitNames)
        Controls().AddString(IDC_UNIT_LIST, name);
    m_nSavedUnitSel = m_settings.ReadInt(KEY_ANISEL, DEFAULT_ANISEL);
    Controls().SetCurSel(IDC_UNIT_LIST, m_nSavedUnitSel);
    OnUnitChanged();
}

void CAniPage::InitSpeedSlider()
{
    m_nSavedSpeed = m_settings.ReadInt(KEY_SPEED, DEFAULT_SPEED);
    Controls().SetRange(IDC_SPEED_SLIDER, SPEED_SLIDER_MIN, SPEED_SLIDER_MAX, false);
    Controls().SetTicFreq(IDC_SPEED_SLIDER, SPEED_TICK_FREQUENCY);
    Controls().SetPageSize(IDC_SPEED_SLIDER, SPEED_PAGE_SIZE);
    Controls().SetLineSize(IDC_SPEED_SLIDER, SPEED_LINE_SIZE);
    Controls().SetPos(IDC_SPEED_SLIDER, PositionFromSpeed(m_nSavedSpeed), true);
}

// The list's entries are the unit sizes in order, automatic first; a stored
// value outside them shows as automatic, which is how the saver reads it.
void CAniPage::FillUnitSizeList()
{
    m_nSavedUnitSize = m_settings.ReadInt(KEY_UNITSIZE, DEFAULT_UNITSIZE);
    Controls().ResetContent(IDC_UNIT_SIZE_LIST);
    for (const auto& name : m_unitSizeNames)
        Controls().AddString(IDC_UNIT_SIZE_LIST, name);
    const bool listed = m_nSavedUnitSize >= 1 && m_nSavedUnitSize <= UNIT_SCALE_MAX;
    Controls().SetCurSel(IDC_UNIT_SIZE_LIST, listed ? m_nSavedUnitSize : UNIT_SCALE_AUTOMATIC);
}

int CAniPage::SelectedUnit() const
{
    const int selection = Controls().GetCurSel(IDC_UNIT_LIST);
    return selection >= 0 && selection < UNIT_KIND_COUNT ? selection : -1;
}

void CAniPage::OnCommand(int controlId, ControlNotice notice)
{
    if (controlId == IDC_UNIT_LIST && notice == ControlNotice::SelectionChanged)
        OnUnitChanged();
    else if (controlId == IDC_MARCH_CHECK && notice == ControlNotice::Clicked)
        OnMarchClicked();
    else if (controlId == IDC_UNIT_SIZE_LIST && notice == ControlNotice::SelectionChanged)
        OnUnitSizeChanged();
}

void CAniPage::OnUnitChanged()
{
    const int unit = SelectedUnit();
    if (unit < 0)
        return;
    LoadUnitCount(unit);
    LoadUnitMarch(unit);
    m_settings.WriteInt(KEY_ANISEL, unit);
}

void CAniPage::LoadUnitCount(int unit)
{
    const int count = m_settings.ReadInt(m_unitNames[unit], DEFAULT_UNIT_COUNT);
    m_nSavedCounts[unit] = count;
    Controls().SetRange(IDC_COUNT_SLIDER, COUNT_SLIDER_MIN, COUNT_SLIDER_MAX, false);
    Controls().SetTicFreq(IDC_COUNT_SLIDER, COUNT_TICK_FREQUENCY);
    Controls().SetPageSize(IDC_COUNT_SLIDER, COUNT_PAGE_SIZE);
    Controls().SetLineSize(IDC_COUNT_SLIDER, COUNT_LINE_SIZE);
    Controls().SetPos(IDC_COUNT_SLIDER, count, true);
    Controls().SetText(IDC_COUNT_LABEL, std::to_string(count));
}

void CAniPage::LoadUnitMarch(int unit)
{
    const int march = m_settings.ReadInt(m_unitNames[unit] + MARCH_KEY_SUFFIX, DEFAULT_UNIT_MARCH);
    m_nSavedMarch[unit] = march;
    Controls().SetCheck(IDC_MARCH_CHECK, march);
}

void CAniPage::OnMarchClicked()
{
    const int unit = SelectedUnit();
    if (unit < 0)
        return;
    m_settings.WriteInt(m_unitNames[unit] + MARCH_KEY_SUFFIX, Controls().GetCheck(IDC_MARCH_CHECK));
}

void CAniPage::OnUnitSizeChanged()
{
    const int size = Controls().GetCurSel(IDC_UNIT_SIZE_LIST);
    if (size >= UNIT_SCALE_AUTOMATIC && size <= UNIT_SCALE_MAX)
        m_settings.WriteInt(KEY_UNITSIZE, size);
}

void CAniPage::OnSliderScroll(int controlId)
{
    if (controlId == IDC_SPEED_SLIDER) {
        m_settings.WriteInt(KEY_SPEED, SpeedFromPosition(Controls().GetPos(IDC_SPEED_SLIDER)));
    } else if (controlId == IDC_COUNT_SLIDER) {
        const int unit = SelectedUnit();
        if (unit < 0)
            return;
        const int count = Controls().GetPos(IDC_COUNT_SLIDER);
        m_settings.WriteInt(m_unitNames[unit], count);
        Controls().SetText(IDC_COUNT_LABEL, std::to_string(count));
    }
}

void CAniPage::OnPageCancel()
{
    m_settings.WriteInt(KEY_SPEED, m_nSavedSpeed);
    m_settings.WriteInt(KEY_ANISEL, m_nSavedUnitSel);
    m_settings.WriteInt(KEY_UNITSIZE, m_nSavedUnitSize);
    for (int unit = 0; unit < UNIT_KIND_COUNT; ++unit) {
        if (m_nSavedCounts[unit] != NOT_RECORDED)
            m_settings.WriteInt(m_unitNames[unit], m_nSavedCounts[unit]);
        if (m_nSavedMarch[unit] != NOT_RECORDED)
            m_settings.WriteInt(m_unitNames[unit] + MARCH_KEY_SUFFIX, m_nSavedMarch[unit]);
    }
}
