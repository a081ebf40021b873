// The registry seam: the current user's branch of the registry, reached by
// a path of key names below HKEY_CURRENT_USER. On Windows the real registry;
// elsewhere a store with the same keys, value types and encodings.
#pragma once

#include "platform/WinApi.h"

#include <optional>
#include <string>
#include <vector>

constexpr DWORD REGISTRY_TYPE_SZ = 1;
constexpr DWORD REGISTRY_TYPE_BINARY = 3;
constexpr DWORD REGISTRY_TYPE_DWORD = 4;

struct RegistryValue {
    DWORD type = 0;
    std::vector<BYTE> data;

    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

struct RegistryPath {
    // Opened only, never created (for example "Software").
    std::string existing;
    // Created when missing, each below the one before.
    std::vector<std::string> created;
};

class Registry {
public:
    virtual ~Registry() = default;

    // Opens `existing`, creates or opens every key of `created`, reads the
    // value `name` of the last key, then closes every key. Nothing when the
    // path cannot be opened or created or the value does not exist.
    virtual std::optional<RegistryValue> Query(const RegistryPath& path, const std::string& name) = 0;
    // The same path steps, then stores the value. False on failure.
    virtual bool Store(const RegistryPath& path, const std::string& name, const RegistryValue& value) = 0;
    // What the user should know since the last call, in one sentence naming
    // the file or key: why a store failed, or what it had to do (a damaged
    // file kept under another name). Empty when there is nothing new; the
    // same failure again is not new.
    virtual std::string TakeNotice() = 0;
};
