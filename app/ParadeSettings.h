// The persisted settings: the "Settings" section of the application's key
// in the current user's registry branch. Every call opens the key path,
// reads or writes one value and closes it again; nothing is cached.
#pragma once

#include "platform/Registry.h"

#include <string>

class ParadeSettings {
public:
    ParadeSettings(Registry& registry, std::string registryKey, std::string applicationName);

    int ReadInt(const std::string& key, int defaultValue) const;
    std::string ReadString(const std::string& key, const std::string& defaultValue) const;
    int WriteInt(const std::string& key, int value);
    int WriteString(const std::string& key, const std::string& text);

private:
    RegistryPath SectionPath() const;

    Registry& m_registry;
    std::string m_strRegistryKey;
    std::string m_strAppName;
};

// The application name of a module path: the file name without directory
// and without extension.
std::string ApplicationNameFromPath(const std::string& modulePath);
