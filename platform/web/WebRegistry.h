// The registry seam in a page: the Linux program's settings file, kept in
// the page's storage. The file lives in the program's in-memory file system,
// read and written by the same code as on Linux; the page's storage holds
// its text under the file's path below the settings folder, restored into
// the file system before the first read and copied back after each change.
#pragma once

#include "platform/regfile/RegFileRegistry.h"

#include <map>
#include <string>

class WebRegistry : public Registry {
public:
    // `folder` is the in-memory settings folder.
    explicit WebRegistry(std::string folder);

    std::optional<RegistryValue> Query(const RegistryPath& path, const std::string& name) override;
    bool Store(const RegistryPath& path, const std::string& name, const RegistryValue& value) override;
    std::string TakeNotice() override;

private:
    // The file of `path` relative to the folder (as RegFileRegistry names
    // it), restored from the page's storage the first time.
    std::string Restore(const RegistryPath& path);
    // Copies the file's text to the page's storage when it changed.
    bool Keep(const std::string& relative);

    std::string m_strFolder;
    RegFileRegistry m_files;
    std::map<std::string, std::string> m_kept;
    std::string m_strNotice;
    bool m_bToldStorage = false;
};
