// The registry seam over REGEDIT4 files, for systems without a registry.
// A path {"Software", {"<key>", "<app>", ...}} lives in the file
// <base>/<key>/<app>.reg, in the section
// [HKEY_CURRENT_USER\Software\<key>\<app>\...], so that the file imports
// into a Windows registry as it stands. "Software" is the one key of the
// branch that exists without being created.
//
// A change takes an advisory lock on <app>.reg.lock, reads the file and
// replaces it whole: other processes see the old or the new file, and
// writes of different values by several processes all stay. Reads take no
// lock and change nothing: a missing file or key reads as missing values. A settings file that is a symbolic link has its target replaced.
// The file keeps its encoding (UTF-8, or regedit's UTF-16) and header. Lines the parser does not understand are written back
// as they were; a file that is no REGEDIT4 file at all is renamed to
// <app>.reg.damaged-<time> before a new one takes its place. A value or a
// file too large to be read again is refused. Every failure and the move of
// a damaged file are told once, as a notice naming the file.
#pragma once

#include "platform/Registry.h"

#include <functional>
#include <optional>
#include <string>

class RegDocument;

class RegFileRegistry : public Registry {
public:
    explicit RegFileRegistry(std::string baseFolder);

    std::optional<RegistryValue> Query(const RegistryPath& path, const std::string& name) override;
    bool Store(const RegistryPath& path, const std::string& name, const RegistryValue& value) override;
    std::string TakeNotice() override;

private:
    struct Location {
        std::string folder;
        std::string file;
        std::string lockFile;
        std::string section;
    };
    std::optional<Location> Locate(const RegistryPath& path) const;
    // Under the lock: reads the file, edits its document and writes it back,
    // unless the edit refuses.
    bool Change(const Location& location, const std::function<bool(RegDocument&)>& edit);
    // A notice is pending until taken, unless it repeats the one before.
    void Tell(std::string notice);

    std::string m_strBaseFolder;
    std::string m_strPendingNotice;
    std::string m_strLastNotice;
    bool m_bToldDamaged = false;
};

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute
// path, otherwise $HOME/.config; empty when neither is known.
std::string UserConfigFolder();
