// The file operations of the settings file: reading it whole, replacing it
// atomically, moving a damaged one aside and creating its folders.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

enum class RegFileState {
    Missing,
    Loaded,
    // Larger than any settings file; its text is not read.
    TooLarge,
    // Not a regular file, or it cannot be opened or read: leave it alone.
    Inaccessible,
};

struct RegFileContent {
    RegFileState state = RegFileState::Missing;
    std::string text;
    // Why an inaccessible file cannot be read.
    std::string failure;
};

inline constexpr std::size_t MAX_REG_FILE_SIZE = 4 * 1024 * 1024;

RegFileContent ReadRegFile(const std::string& path);

// Writes `text` to a new file in the same folder, flushes it to the disk and
// renames it over `path`, keeping the old file's permissions. Another reader
// sees the old or the new file, never a part of one. False, with `path`
// untouched and errno telling why, when anything fails or the old file is
// not writable.
bool ReplaceRegFile(const std::string& path, std::string_view text);

// Renames `path` to `path`.damaged-<local time>, with a number added when
// that name is taken, and gives the new name. Nothing when the file stays
// where it was.
std::optional<std::string> MoveRegFileAside(const std::string& path);

// The file that `path` names after following symbolic links; `path` itself
// when it is no link. A dangling link gives the path it points to.
std::string ResolveRegFileLinks(const std::string& path);

// Removes the temporary files that writers of `path` killed mid-write left
// behind (their names carry a mark of their own). Only for a caller holding the file's lock, under which no writer
// is at work.
void RemoveStaleRegTemporaries(const std::string& path);

// Creates every missing folder of `folder` with mode 0700.
bool MakeFolders(const std::string& folder);
