#include "platform/win32/Win32Registry.h"

#include <utility>

namespace {

constexpr REGSAM KEY_ACCESS = KEY_READ | KEY_WRITE;

// The keys of one path, open from the first to the last; all are closed
// when it goes.
class OpenKeyPath {
public:
    explicit OpenKeyPath(const RegistryPath& path)
    {
        HKEY key = nullptr;
        m_nError = RegOpenKeyExA(HKEY_CURRENT_USER, path.existing.c_str(), 0, KEY_ACCESS, &key);
        if (m_nError != ERROR_SUCCESS)
            return;
        m_keys.push_back(key);
        for (const std::string& name : path.created) {
            HKEY created = nullptr;
            m_nError = RegCreateKeyExA(m_keys.back(), name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ACCESS,
                                       nullptr, &created, nullptr);
            if (m_nError != ERROR_SUCCESS)
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
    // Why a key of the path did not open.
    LONG Error() const { return m_nError; }

private:
    std::vector<HKEY> m_keys;
    LONG m_nError = ERROR_SUCCESS;
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
    LONG error = keys.Error();
    if (keys.Last() != nullptr)
        error = RegSetValueExA(keys.Last(), name.c_str(), 0, value.type, value.data.data(),
                               static_cast<DWORD>(value.data.size()));
    if (error != ERROR_SUCCESS) {
        TellFailure(path, error);
        return false;
    }
    m_nLastError = ERROR_SUCCESS;
    return true;
}

void Win32Registry::TellFailure(const RegistryPath& path, LONG error)
{
    if (error == m_nLastError)
        return;
    m_nLastError = error;
    std::string key = "HKEY_CURRENT_USER\\" + path.existing;
    for (const std::string& name : path.created)
        key += "\\" + name;
    char reason[512] = "";
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        static_cast<DWORD>(error), 0, reason, sizeof reason, nullptr);
    std::string text(reason, length);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        text = "error " + std::to_string(error);
    m_strNotice = "The settings could not be saved: " + key + ": " + text;
}

std::string Win32Registry::TakeNotice() { return std::exchange(m_strNotice, std::string()); }
