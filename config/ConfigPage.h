// One page of the configuration sheet: built from its dialog template,
// bound to its controls when its window is created, and told of the user's
// actions on them.
#pragma once

#include "platform/DialogHost.h"

class ConfigPage {
public:
    explicit ConfigPage(UINT templateId) : m_nTemplateId(templateId) {}
    virtual ~ConfigPage() = default;
    ConfigPage(const ConfigPage&) = delete;
    ConfigPage& operator=(const ConfigPage&) = delete;

    UINT TemplateId() const { return m_nTemplateId; }

    // The page's window exists: binds its controls. Nonzero: the host sets
    // the initial focus.
    virtual int OnPageInit(PageControls& controls)
    {
        m_pControls = &controls;
        return 1;
    }
    virtual void OnCommand(int controlId, ControlNotice notice)
    {
        static_cast<void>(controlId);
        static_cast<void>(notice);
    }
    virtual void OnSliderScroll(int controlId) { static_cast<void>(controlId); }
    virtual void OnPageCancel() {}

protected:
    PageControls& Controls() { return *m_pControls; }
    const PageControls& Controls() const { return *m_pControls; }

private:
    UINT m_nTemplateId;
    PageControls* m_pControls = nullptr;
};
