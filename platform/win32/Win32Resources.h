// The module's resources through the Win32 resource functions.
#pragma once

#include "platform/Resources.h"

class Win32Resources : public Resources {
public:
    explicit Win32Resources(HINSTANCE instance) : m_hInstance(instance) {}

    bool Find(ResourceType type, UINT id) const override;
    ResourceBlock Load(ResourceType type, UINT id) const override;
    std::string LoadString(UINT id) const override;

private:
    HINSTANCE m_hInstance;
};
