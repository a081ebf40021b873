// The Background page: the style the saver gives its copy of the desktop,
// and the brightness amount of the gamma style.
#pragma once

#include "app/ParadeSettings.h"
#include "config/ConfigPage.h"
#include "platform/Resources.h"

class CBGndPage : public ConfigPage {
public:
    CBGndPage(ParadeSettings& settings, Resources& resources);

    int OnPageInit(PageControls& controls) override;
    void OnCommand(int controlId, ControlNotice notice) override;
    void OnSliderScroll(int controlId) override;
    void OnPageCancel() override;

    void OnStyleChanged();

private:
    void FillStyleList();
    void InitGammaSlider();

    ParadeSettings& m_settings;
    Resources& m_resources;

    // Restore copy.
    int m_nSavedStyle = 0;
    int m_nSavedGamma = 0;
};
