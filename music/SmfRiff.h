// Finding the MIDI image inside a file: the whole file, or the "data"
// subchunk of a RIFF "RMID" file.
#pragma once

#include "platform/WinApi.h"

#include <cstddef>
#include <vector>

enum class SmfContainer {
    // Not a RIFF "RMID" file: the whole file is the image.
    Bare,
    // A RIFF "RMID" file; the image is its "data" subchunk.
    Rmid,
    // A RIFF "RMID" file without a "data" subchunk.
    RmidWithoutData,
};

struct SmfImageRange {
    SmfContainer container = SmfContainer::Bare;
    std::size_t offset = 0;
    // The declared size; for an RMID file it may run past the file's end.
    std::size_t size = 0;
};

// Walks the subchunks of a RIFF "RMID" file (each odd-sized chunk followed
// by a pad byte) up to the file's end, looking for "data".
SmfImageRange FindSongImage(const std::vector<BYTE>& file);
