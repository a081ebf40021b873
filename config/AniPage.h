// The Animation page: each unit kind's count and stepped marching, and the
// speed of the whole parade.
#pragma once

#include "app/ParadeSettings.h"
#include "config/ConfigPage.h"
#include "parade/UnitScale.h"
#include "parade/UnitTable.h"
#include "platform/Resources.h"

#include <array>
#include <string>

class CAniPage : public ConfigPage {
public:
    CAniPage(ParadeSettings& settings, Resources& resources);

    int OnPageInit(PageControls& controls) override;
    void OnCommand(int controlId, ControlNotice notice) override;
    void OnSliderScroll(int controlId) override;
    void OnPageCancel() override;

    void OnUnitChanged();
    void OnMarchClicked();
    void OnUnitSizeChanged();

private:
    void FillUnitList();
    void InitSpeedSlider();
    void FillUnitSizeList();
    void LoadUnitCount(int unit);
    void LoadUnitMarch(int unit);
    // The selected unit's index, or -1 when the list has no valid selection.
    int SelectedUnit() const;

    ParadeSettings& m_settings;
    std::array<std::string, UNIT_KIND_COUNT> m_unitNames;
    std::array<std::string, UNIT_SCALE_MAX + 1> m_unitSizeNames;

    // Restore copy; -1 marks a unit that was not shown.
    int m_nSavedSpeed = 0;
    std::array<int, UNIT_KIND_COUNT> m_nSavedCounts{};
    std::array<int, UNIT_KIND_COUNT> m_nSavedMarch{};
    int m_nSavedUnitSel = 0;
    int m_nSavedUnitSize = 0;
};
