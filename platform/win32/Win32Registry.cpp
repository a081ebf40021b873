#include "platform/win32/Win32Registry.h"

namespace {

constexpr REGSAM KEY_ACCESS = KEY_READ | KEY_WRITE;

// The keys of one path, open from the first to the last; all are closed
// when it goes.
class OpenKeyPath {
public:
    explicit OpenKeyPath(const RegistryPath& path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.existing.c_str(), 0, KEY_ACCESS, &key) != ERROR_SUCCESS)
            return;
        m_keys.push_back(key);
        for (const std::string& name : path.created) {
            HKEY created = nullptr;
            if (RegCreateKeyExA(m_keys.back(), name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ACCESS,
                                nullptr, &created, nullptr) != ERROR_SUCCESS)
                return;
            m_keys.push_back(created);
        }
        m_bComplete = true;
    }
    ~OpenKeyPath()
    {
        for (auto key = m_keys.rbegin(); key != m_keys.rend(); ++key)
            RegCloseKey(*key);
    }
    OpenKeyPath(const OpenKeyPath&) = delete;
    OpenKeyPath& operator=(const OpenKeyPath&) = delete;

    // The last key, when every key of the path is open.
    HKEY Last() const { return m_bComplete ? m_keys.back() : nullptr; }

private:
    std::vector<HKEY> m_keys;
    bool m_bComplete = false;
};

} // namespace

std::optional<RegistryValue> Win32Registry::Query(const RegistryPath& path, const std::string& name)
{
    const OpenKeyPath keys(path);
    if (keys.Last() == nullptr)
        return std::nullopt;
    RegistryValue value;
    DWORD size = 0;
    if (RegQueryValueExA(keys.Last(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    if (RegQueryValueExA(keys.Last(), name.c_str(), nullptr, &value.type, value.data.data(), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    return value;
}

bool Win32Registry::Store(const RegistryPath& path, const std::string& name, const RegistryValue& value)
{
    const OpenKeyPath keys(path);
    if (keys.Last() == nullptr)
        return false;
    return RegSetValueExA(keys.Last(), name.c_str(), 0, value.type, value.data.data(),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}
