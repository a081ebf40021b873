#include "music/SmfRiff.h"

#include <cstring>

namespace {

constexpr std::size_t CHUNK_HEAD_BYTES = 8;
constexpr std::size_t RIFF_HEAD_BYTES = 12;

bool HasId(const std::vector<BYTE>& file, std::size_t at, const char (&id)[5])
{
    return std::memcmp(file.data() + at, id, 4) == 0;
}

std::size_t ReadLittleEndian32(const std::vector<BYTE>& file, std::size_t at)
{
    return static_cast<std::size_t>(file[at]) | (static_cast<std::size_t>(file[at + 1]) << 8) |
           (static_cast<std::size_t>(file[at + 2]) << 16) | (static_cast<std::size_t>(file[at + 3]) << 24);
}

} // namespace

SmfImageRange FindSongImage(const std::vector<BYTE>& file)
{
    SmfImageRange range;
    range.size = file.size();
    if (file.size() < RIFF_HEAD_BYTES || !HasId(file, 0, "RIFF") || !HasId(file, 8, "RMID"))
        return range;

    range.container = SmfContainer::RmidWithoutData;
    std::size_t at = RIFF_HEAD_BYTES;
    while (file.size() - at >= CHUNK_HEAD_BYTES) {
        const std::size_t size = ReadLittleEndian32(file, at + 4);
        if (HasId(file, at, "data")) {
            range.container = SmfContainer::Rmid;
            range.offset = at + CHUNK_HEAD_BYTES;
            range.size = size;
            break;
        }
        const std::size_t left = file.size() - at - CHUNK_HEAD_BYTES;
        if (size >= left)
            break;
        at += CHUNK_HEAD_BYTES + size + (size & 1);
    }
    return range;
}
