// The file seam: reading a whole file into memory, and the temporary files
// of the program: their folder and names, writing and deleting.
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

    // The folder for temporary files, ending in a path separator; empty when
    // there is none. Where other users share the system's temporary folder,
    // a folder that only the user can enter.
    virtual std::string TempFolder() = 0;
    // The name that GetTempFileName forms in `folder` from at most three
    // characters of `prefix` and the nonzero number `unique`: the prefix,
    // the number in hexadecimal and ".tmp". The file is neither made nor
    // looked at; empty when no name can be formed.
    virtual std::string TempFileName(const std::string& folder, const std::string& prefix, UINT unique) = 0;
    // Creates the file at `path`, or replaces the one there, with `size`
    // bytes. On POSIX systems a symbolic link at `path` is replaced, never
    // written through.
    // True when the file there is now one that this call made.
    virtual bool WriteWholeFile(const std::string& path, const BYTE* data, std::size_t size) = 0;
    // Deletes the file (a symbolic link itself, not its target).
    virtual bool RemoveFile(const std::string& path) = 0;
};
