// The file seam over POSIX file descriptors.
#pragma once

#include "platform/Files.h"

class PosixFiles : public Files {
public:
    // Temporary files go to the user's private folder, or to `tempFolder`
    // when one is given.
    explicit PosixFiles(std::string tempFolder = {}) : m_strTempFolder(std::move(tempFolder)) {}

    // Only a regular file is read; a read that has not ended within a few
    // seconds (a mount that stopped answering) is given up as failed.
    FileReadResult ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<BYTE>& bytes) override;

    std::string TempFolder() override;
    std::string TempFileName(const std::string& folder, const std::string& prefix, UINT unique) override;
    // Writes a new file beside `path` and renames it over `path`.
    bool WriteWholeFile(const std::string& path, const BYTE* data, std::size_t size) override;
    bool RemoveFile(const std::string& path) override;

private:
    const std::string m_strTempFolder;
};
