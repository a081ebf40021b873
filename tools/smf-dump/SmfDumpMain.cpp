// smf-dump [--stream] FILE
#include "music/SmfDump.h"
#include "platform/posix/PosixFiles.h"

#include <cstring>
#include <iostream>

namespace {

constexpr DWORD STREAM_BUFFER_BYTES = 1024;

int Fail(DWORD result)
{
    std::cerr << "error " << SmfResultName(result) << '\n';
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    const bool stream = argc == 3 && std::strcmp(argv[1], "--stream") == 0;
    if (argc != 2 && !stream) {
        std::cerr << "usage: smf-dump [--stream] FILE\n";
        return 2;
    }
    PosixFiles files;
    SmfSong* loaded = nullptr;
    const SmfResult result = LoadSong(files, argv[argc - 1], loaded);
    if (result != SMF_SUCCESS)
        return Fail(result);
    const SmfSongPtr song(loaded);

    const SmfResult last = stream ? DumpStream(*song, STREAM_BUFFER_BYTES, std::cout) : DumpSong(*song, std::cout);
    std::cout.flush();
    if (last != SMF_ENDOFSONG)
        return Fail(last);
    return std::cout ? 0 : 1;
}
