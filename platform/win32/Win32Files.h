// The file seam over the Win32 file functions.
#pragma once

#include "platform/Files.h"

class Win32Files : public Files {
public:
    FileReadResult ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<BYTE>& bytes) override;

    // GetTempPathA into 256 characters.
    std::string TempFolder() override;
    // GetTempFileNameA.
    std::string TempFileName(const std::string& folder, const std::string& prefix, UINT unique) override;
    // CreateFileA (an existing file is truncated) and WriteFile; true once
    // the file is created, whatever the writing gives.
    bool WriteWholeFile(const std::string& path, const BYTE* data, std::size_t size) override;
    // DeleteFileA.
    bool RemoveFile(const std::string& path) override;
};
