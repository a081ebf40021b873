#include "app/ParadeSettings.h"

#include "app/SettingsKeys.h"

#include <algorithm>
#include <utility>

ParadeSettings::ParadeSettings(Registry& registry, std::string registryKey, std::string applicationName)
    : m_registry(registry), m_strRegistryKey(std::move(registryKey)), m_strAppName(std::move(applicationName))
{
}

RegistryPath ParadeSettings::SectionPath() const
{
    return RegistryPath{"Software", {m_strRegistryKey, m_strAppName, SETTINGS_SECTION}};
}

int ParadeSettings::ReadInt(const std::string& key, int defaultValue) const
{
    const auto value = m_registry.Query(SectionPath(), key);
    if (!value || value->data.size() > 4)
        return defaultValue;
    BYTE bytes[4] = {0, 0, 0, 0};
    std::copy(value->data.begin(), value->data.end(), bytes);
    const auto word = static_cast<DWORD>(bytes[0]) | (static_cast<DWORD>(bytes[1]) << 8) |
                      (static_cast<DWORD>(bytes[2]) << 16) | (static_cast<DWORD>(bytes[3]) << 24);
    return static_cast<int>(word);
}

std::string ParadeSettings::ReadString(const std::string& key, const std::string& defaultValue) const
{
    const auto value = m_registry.Query(SectionPath(), key);
    if (!value)
        return defaultValue;
    std::string text(value->data.begin(), value->data.end());
    const auto end = text.find('\0');
    if (end != std::string::npos)
        text.resize(end);
    return text;
}

int ParadeSettings::WriteInt(const std::string& key, int value)
{
    const auto word = static_cast<DWORD>(value);
    RegistryValue stored{REGISTRY_TYPE_DWORD,
                         {static_cast<BYTE>(word), static_cast<BYTE>(word >> 8), static_cast<BYTE>(word >> 16),
                          static_cast<BYTE>(word >> 24)}};
    return m_registry.Store(SectionPath(), key, stored) ? 1 : 0;
}

int ParadeSettings::WriteString(const std::string& key, const std::string& text)
{
    RegistryValue stored{REGISTRY_TYPE_SZ, std::vector<BYTE>(text.begin(), text.end())};
    stored.data.push_back(0);
    return m_registry.Store(SectionPath(), key, stored) ? 1 : 0;
}

std::string ApplicationNameFromPath(const std::string& modulePath)
{
    std::string name = modulePath;
    const auto separator = name.find_last_of("\\/:");
    if (separator != std::string::npos)
        name.erase(0, separator + 1);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos)
        name.resize(dot);
    return name;
}
