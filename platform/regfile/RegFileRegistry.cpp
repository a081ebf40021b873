#include "platform/regfile/RegFileRegistry.h"

#include "platform/regfile/RegDocument.h"
#include "platform/regfile/RegFileEncoding.h"
#include "platform/regfile/RegFileIo.h"
#include "platform/regfile/RegFileLock.h"
#include "platform/regfile/RegText.h"

#include <cstdlib>
#include <utility>

namespace {

constexpr const char* BRANCH_KEY = "Software";
constexpr const char* FILE_EXTENSION = ".reg";
constexpr const char* LOCK_EXTENSION = ".lock";

// A key name that is also usable as a file name.
bool IsPlainKeyName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (const char c : name) {
        if (c == '\\' || c == '/' || static_cast<unsigned char>(c) < 0x20)
            return false;
    }
    return true;
}

// The file's document, when the file can be read; a new document when it
// is missing.
struct LoadedFile {
    std::optional<RegDocument> document;
    bool damaged = false;
    bool accessible = true;
    RegFileEncoding encoding = RegFileEncoding::Utf8;
};

LoadedFile Load(const std::string& file)
{
    const RegFileContent content = ReadRegFile(file);
    switch (content.state) {
    case RegFileState::Missing:
        return {RegDocument{}, false, true};
    case RegFileState::Inaccessible:
        return {std::nullopt, false, false};
    case RegFileState::TooLarge:
        return {std::nullopt, true, true};
    case RegFileState::Loaded:
        break;
    }
    // An empty file holds nothing that could be lost.
    if (content.text.empty())
        return {RegDocument{}, false, true};
    const auto decoded = DecodeRegFile(content.text);
    if (!decoded)
        return {std::nullopt, true, true};
    auto document = RegDocument::Parse(decoded->text);
    const bool damaged = !document.has_value();
    return {std::move(document), damaged, true, decoded->encoding};
}

bool Save(const std::string& file, const LoadedFile& loaded, const RegDocument& document)
{
    if (loaded.damaged && !MoveRegFileAside(file))
        return false;
    return ReplaceRegFile(file, EncodeRegFile(document.Text(), loaded.encoding));
}

// A line break in a value name would split its line in the file.
bool IsStorableValueName(const std::string& name)
{
    return name.find_first_of("\r\n") == std::string::npos;
}

} // namespace

RegFileRegistry::RegFileRegistry(std::string baseFolder) : m_strBaseFolder(std::move(baseFolder)) {}

std::optional<RegFileRegistry::Location> RegFileRegistry::Locate(const RegistryPath& path) const
{
    if (m_strBaseFolder.empty() || !RegNamesEqual(path.existing, BRANCH_KEY) || path.created.size() < 2)
        return std::nullopt;
    std::string section = std::string(REG_CURRENT_USER) + "\\" + path.existing;
    for (const std::string& key : path.created) {
        if (!IsPlainKeyName(key))
            return std::nullopt;
        section += "\\" + key;
    }
    Location location;
    location.folder = m_strBaseFolder + "/" + path.created[0];
    location.file = location.folder + "/" + path.created[1] + FILE_EXTENSION;
    location.lockFile = location.file + LOCK_EXTENSION;
    location.section = std::move(section);
    return location;
}

// Files are replaced whole by renaming, so a read needs no lock: it sees
// the old or the new file.
std::optional<RegistryValue> RegFileRegistry::Query(const RegistryPath& path, const std::string& name)
{
    const auto location = Locate(path);
    if (!location)
        return std::nullopt;
    const LoadedFile loaded = Load(location->file);
    std::optional<RegistryValue> value;
    if (loaded.document)
        value = loaded.document->Find(location->section, name);
    const bool hasSection = loaded.document && loaded.document->HasSection(location->section);
    if (loaded.accessible && !hasSection)
        Change(*location, [&](RegDocument& document) { document.AddSection(location->section); });
    return value;
}

bool RegFileRegistry::Store(const RegistryPath& path, const std::string& name, const RegistryValue& value)
{
    const auto location = Locate(path);
    if (!location || !IsStorableValueName(name))
        return false;
    return Change(*location, [&](RegDocument& document) { document.Set(location->section, name, value); });
}

bool RegFileRegistry::Change(const Location& location, const std::function<void(RegDocument&)>& edit)
{
    if (!MakeFolders(location.folder))
        return false;
    const RegFileLock lock(location.lockFile);
    if (!lock.IsHeld())
        return false;
    // A link (a dotfile manager's) stays a link: its target is what changes.
    const std::string file = ResolveRegFileLinks(location.file);
    RemoveStaleRegTemporaries(location.file);
    if (file != location.file)
        RemoveStaleRegTemporaries(file);
    const LoadedFile loaded = Load(file);
    if (!loaded.accessible)
        return false;
    RegDocument document = loaded.document.value_or(RegDocument{});
    edit(document);
    return Save(file, loaded, document);
}

std::string UserConfigFolder()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && configHome[0] == '/')
        return configHome;
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return std::string(home) + "/.config";
    return {};
}
