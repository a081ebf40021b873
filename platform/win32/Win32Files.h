// The file seam over the Win32 file functions.
#pragma once

#include "platform/Files.h"

class Win32Files : public Files {
public:
    FileReadResult ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<BYTE>& bytes) override;
};
