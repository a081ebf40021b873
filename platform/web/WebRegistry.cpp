#include "platform/web/WebRegistry.h"

#include "platform/web/WebBridge.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace {

constexpr const char* FILE_EXTENSION = ".reg";

std::optional<std::string> ReadText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}

WebRegistry::WebRegistry(std::string folder) : m_strFolder(std::move(folder)), m_files(m_strFolder) {}

std::string WebRegistry::Restore(const RegistryPath& path)
{
    if (path.created.size() < 2)
        return {};
    const std::string relative = path.created[0] + "/" + path.created[1] + FILE_EXTENSION;
    if (m_kept.count(relative) != 0)
        return relative;
    std::string text;
    if (char* stored = web_storage_read(relative.c_str())) {
        text = stored;
        std::free(stored);
        const std::filesystem::path file = std::filesystem::path(m_strFolder) / relative;
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    }
    m_kept[relative] = text;
    return relative;
}

bool WebRegistry::Keep(const std::string& relative)
{
    const auto text = ReadText(m_strFolder + "/" + relative);
    if (!text || *text == m_kept[relative])
        return true;
    if (!web_storage_write(relative.c_str(), text->c_str())) {
        if (!m_bToldStorage)
            m_strNotice = "The settings could not be saved: the browser keeps nothing for this page (its storage is "
                          "full or turned off).";
        m_bToldStorage = true;
        return false;
    }
    m_kept[relative] = *text;
    return true;
}

std::optional<RegistryValue> WebRegistry::Query(const RegistryPath& path, const std::string& name)
{
    const std::string relative = Restore(path);
    auto value = m_files.Query(path, name);
    if (!relative.empty())
        Keep(relative);
    return value;
}

bool WebRegistry::Store(const RegistryPath& path, const std::string& name, const RegistryValue& value)
{
    const std::string relative = Restore(path);
    return m_files.Store(path, name, value) && !relative.empty() && Keep(relative);
}

std::string WebRegistry::TakeNotice()
{
    std::string notice = m_files.TakeNotice();
    return notice.empty() ? std::exchange(m_strNotice, std::string()) : notice;
}
