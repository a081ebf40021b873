// A registry held in memory, for tests that do not look at the store.
#pragma once

#include "platform/Registry.h"

#include <map>
#include <string>

class MemoryRegistry : public Registry {
public:
    std::optional<RegistryValue> Query(const RegistryPath&, const std::string& name) override
    {
        const auto found = m_values.find(name);
        if (found == m_values.end())
            return std::nullopt;
        return found->second;
    }
    bool Store(const RegistryPath&, const std::string& name, const RegistryValue& value) override
    {
        m_values[name] = value;
        return true;
    }
    std::string TakeNotice() override { return {}; }

    std::map<std::string, RegistryValue> m_values;
};
