// The file seam: reading a whole file into memory.
#pragma once

#include "platform/WinApi.h"

#include <cstddef>
#include <string>
#include <vector>

enum class FileReadResult {
    Ok,
    // The file does not exist, cannot be opened or is not a file.
    OpenFailed,
    // The file holds more than the caller's maximum.
    TooLarge,
    NoMemory,
    // Reading stopped before the file's end.
    ReadFailed,
};

class Files {
public:
    virtual ~Files() = default;

    // Replaces `bytes` with the whole contents of the file at `path`, if it
    // holds at most `maxBytes`.
    virtual FileReadResult ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<BYTE>& bytes) = 0;
};
