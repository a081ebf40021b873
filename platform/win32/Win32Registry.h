// The registry seam over the Windows registry of the current user.
#pragma once

#include "platform/Registry.h"

class Win32Registry : public Registry {
public:
    std::optional<RegistryValue> Query(const RegistryPath& path, const std::string& name) override;
    bool Store(const RegistryPath& path, const std::string& name, const RegistryValue& value) override;
};
