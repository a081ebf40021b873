#include "platform/posix/ModulePath.h"

#include <limits.h>
#include <unistd.h>

namespace {

std::string ReadExecutableLink()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return {};
    return std::string(path, static_cast<std::size_t>(length));
}

}

std::string ReadModulePath()
{
    static const std::string path = ReadExecutableLink();
    return path;
}
