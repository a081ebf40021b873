// The user's own folder for temporary files on a system whose temporary
// folder every user shares.
#pragma once

#include <string>

// True when `path` is a folder itself (not a symbolic link), owned by the
// effective user, that no one else may read, write or enter.
bool IsPrivateFolder(const std::string& path);

// `runtimeFolder` ($XDG_RUNTIME_DIR) when it is an absolute path to a
// private folder; otherwise the folder "dovezi-UID" under `sharedFolder`
// ($TMPDIR, when absolute) or "/tmp", made with mode 0700 when missing and
// used only when it is private. The path ends in "/"; empty when neither
// is usable. Either argument may be null.
std::string PrivateTempFolder(const char* runtimeFolder, const char* sharedFolder);
