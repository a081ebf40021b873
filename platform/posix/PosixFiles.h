// The file seam over POSIX file descriptors.
#pragma once

#include "platform/Files.h"

class PosixFiles : public Files {
public:
    FileReadResult ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<BYTE>& bytes) override;
};
