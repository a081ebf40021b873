#include "platform/regfile/RegFileRegistry.h"

#include "platform/regfile/RegDocument.h"
#include "platform/regfile/RegFileEncoding.h"
#include "platform/regfile/RegFileIo.h"
#include "platform/regfile/RegFileLock.h"
#include "platform/regfile/RegText.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
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
    // Why an inaccessible file cannot be read.
    std::string failure;
};

LoadedFile Load(const std::string& file)
{
    const RegFileContent content = ReadRegFile(file);
    switch (content.state) {
    case RegFileState::Missing:
        return {RegDocument{}, false, true, RegFileEncoding::Utf8, {}};
    case RegFileState::Inaccessible:
        return {std::nullopt, false, false, RegFileEncoding::Utf8, content.failure};
    case RegFileState::TooLarge:
        return {std::nullopt, true, true, RegFileEncoding::Utf8, {}};
    case RegFileState::Loaded:
        break;
    }
    // An empty file holds nothing that could be lost.
    if (content.text.empty())
        return {RegDocument{}, false, true, RegFileEncoding::Utf8, {}};
    DecodedRegFile decoded = DecodeRegFile(content.text);
    auto document = RegDocument::Parse(decoded.text);
    // A damaged file's successor is a new REGEDIT4 file, in UTF-8.
    if (!document)
        return {std::nullopt, true, true, RegFileEncoding::Utf8, {}};
    return {std::move(document), false, true, decoded.encoding, {}};
}

std::string SaveFailure(const std::string& file, int error)
{
    return "The settings could not be saved: " + file + ": " + std::strerror(error);
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
// the old or the new file. A missing key reads as missing values.
std::optional<RegistryValue> RegFileRegistry::Query(const RegistryPath& path, const std::string& name)
{
    const auto location = Locate(path);
    if (!location)
        return std::nullopt;
    const LoadedFile loaded = Load(location->file);
    if (loaded.damaged && !m_bToldDamaged) {
        m_bToldDamaged = true;
        Tell("The settings file " + location->file +
             " cannot be read: the defaults are used, and the file is kept under another name when a setting "
             "is changed.");
    }
    return loaded.document ? loaded.document->Find(location->section, name) : std::nullopt;
}

bool RegFileRegistry::Store(const RegistryPath& path, const std::string& name, const RegistryValue& value)
{
    if (m_strBaseFolder.empty()) {
        Tell("The settings could not be saved: they have no folder, for neither XDG_CONFIG_HOME nor HOME is set.");
        return false;
    }
    const auto location = Locate(path);
    if (!location || !IsStorableValueName(name))
        return false;
    return Change(*location, [&](RegDocument& document) {
        if (document.Set(location->section, name, value))
            return true;
        Tell("The settings could not be saved: " + location->file + ": the value \"" + name +
             "\" is too long for a settings file.");
        return false;
    });
}

bool RegFileRegistry::Change(const Location& location, const std::function<bool(RegDocument&)>& edit)
{
    if (!MakeFolders(location.folder)) {
        Tell(SaveFailure(location.folder, errno));
        return false;
    }
    const RegFileLock lock(location.lockFile);
    if (!lock.IsHeld()) {
        Tell("The settings could not be saved: " + lock.Failure());
        return false;
    }
    // A link (a dotfile manager's) stays a link: its target is what changes.
    const std::string file = ResolveRegFileLinks(location.file);
    RemoveStaleRegTemporaries(location.file);
    if (file != location.file)
        RemoveStaleRegTemporaries(file);
    const LoadedFile loaded = Load(file);
    if (!loaded.accessible) {
        Tell("The settings could not be saved: " + file + ": " + loaded.failure);
        return false;
    }
    RegDocument document = loaded.document.value_or(RegDocument{});
    if (!edit(document))
        return false;
    const std::string text = EncodeRegFile(document.Text(), loaded.encoding);
    if (text.size() > MAX_REG_FILE_SIZE) {
        Tell("The settings could not be saved: " + file + ": the file would grow larger than a settings file can be.");
        return false;
    }
    if (loaded.damaged) {
        const auto aside = MoveRegFileAside(file);
        if (!aside) {
            Tell(SaveFailure(file, errno));
            return false;
        }
        Tell("The settings file " + file + " could not be read; it is kept as " + *aside +
             ", and the settings start again from their defaults.");
    }
    if (!ReplaceRegFile(file, text)) {
        Tell(SaveFailure(file, errno));
        return false;
    }
    m_strLastNotice.clear();
    return true;
}

void RegFileRegistry::Tell(std::string notice)
{
    if (notice != m_strLastNotice)
        m_strPendingNotice = notice;
    m_strLastNotice = std::move(notice);
}

std::string RegFileRegistry::TakeNotice() { return std::exchange(m_strPendingNotice, std::string()); }

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
