// The registry seam over the Windows registry of the current user.
#pragma once

#include "platform/Registry.h"

#include <string>

class Win32Registry : public Registry {
public:
    std::optional<RegistryValue> Query(const RegistryPath& path, const std::string& name) override;
    bool Store(const RegistryPath& path, const std::string& name, const RegistryValue& value) override;
    std::string TakeNotice() override;

private:
    // Tells why a store of `path` failed, unless that was the last failure.
    void TellFailure(const RegistryPath& path, LONG error);

    std::string m_strNotice;
    LONG m_nLastError = ERROR_SUCCESS;
};
