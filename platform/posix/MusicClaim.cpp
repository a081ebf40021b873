#include "platform/posix/MusicClaim.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
constexpr const char* LOCK_NAME = "dovezi-music.lock";
int g_lockDescriptor = -1;
}

bool ClaimMusicLock(const std::string& folder)
{
    if (g_lockDescriptor != -1)
        return true;
    if (folder.empty())
        return false;
    const std::string path = folder + LOCK_NAME;
    const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor == -1)
        return false;
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        close(descriptor);
        return false;
    }
    g_lockDescriptor = descriptor;
    return true;
}
