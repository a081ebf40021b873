#include "platform/posix/PrivateTempFolder.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsAbsolute(const char* path)
{
    return path != nullptr && path[0] == '/';
}

std::string WithSeparator(std::string path)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

} // namespace

bool IsPrivateFolder(const std::string& path)
{
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == geteuid() &&
           (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

std::string PrivateTempFolder(const char* runtimeFolder, const char* sharedFolder)
{
    if (IsAbsolute(runtimeFolder) && IsPrivateFolder(runtimeFolder))
        return WithSeparator(runtimeFolder);

    const std::string shared = IsAbsolute(sharedFolder) ? sharedFolder : "/tmp";
    const std::string own = WithSeparator(shared) + "dovezi-" + std::to_string(geteuid());
    // An existing folder is checked like a new one: made by someone else,
    // it is not used.
    mkdir(own.c_str(), S_IRWXU);
    return IsPrivateFolder(own) ? own + "/" : std::string();
}
