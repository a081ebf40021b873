#include "platform/regfile/RegFileIo.h"

#include <cerrno>
#include <cstring>
#include <ctime>

#include <climits>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int MAX_ASIDE_ATTEMPTS = 100;
constexpr int MAX_LINK_DEPTH = 40;
// A temporary file is named ".<file>~new~XXXXXX" (mkostemp replaces the
// X's): no name a person gives a file, so that the sweep of what killed
// writers left never takes a user's copy.
constexpr std::string_view TEMPORARY_MARK = "~new~";
constexpr std::size_t TEMPORARY_SUFFIX_LENGTH = 6;


std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TemporaryPrefix(const std::string& path)
{
    return "." + FileNameOf(path) + std::string(TEMPORARY_MARK);
}

bool WriteAll(int file, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = write(file, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Makes a finished rename durable; a failure here loses nothing.
void SyncFolder(const std::string& folder)
{
    const int file = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (file < 0)
        return;
    fsync(file);
    close(file);
}

bool Exists(const std::string& path)
{
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 || errno != ENOENT;
}

std::string LocalTimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char stamp[32] = "";
    if (localtime_r(&now, &local) != nullptr)
        std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return stamp;
}

} // namespace

RegFileContent ReadRegFile(const std::string& path)
{
    // Non-blocking, so that a pipe in the file's place cannot stall the open.
    const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        return {errno == ENOENT ? RegFileState::Missing : RegFileState::Inaccessible, {}, std::strerror(errno)};
    RegFileContent content{RegFileState::Loaded, {}, {}};
    struct stat status {};
    if (fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(file);
        return {RegFileState::Inaccessible, {}, "it is not a regular file"};
    }
    char buffer[16384];
    while (true) {
        const ssize_t count = read(file, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            content = {RegFileState::Inaccessible, {}, std::strerror(errno)};
            break;
        }
        if (count == 0)
            break;
        content.text.append(buffer, static_cast<std::size_t>(count));
        if (content.text.size() > MAX_REG_FILE_SIZE) {
            content = {RegFileState::TooLarge, {}, {}};
            break;
        }
    }
    close(file);
    return content;
}

std::string ResolveRegFileLinks(const std::string& path)
{
    std::string resolved = path;
    for (int depth = 0; depth < MAX_LINK_DEPTH; ++depth) {
        struct stat status {};
        if (lstat(resolved.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return resolved;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlink(resolved.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size())
            return resolved;
        target.resize(static_cast<std::size_t>(length));
        resolved = target.front() == '/' ? target : FolderOf(resolved) + "/" + target;
    }
    return resolved;
}

void RemoveStaleRegTemporaries(const std::string& path)
{
    const std::string folder = FolderOf(path);
    const std::string prefix = TemporaryPrefix(path);
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr)
        return;
    while (const dirent* entry = readdir(listing)) {
        const std::string_view name(entry->d_name);
        if (name.size() == prefix.size() + TEMPORARY_SUFFIX_LENGTH && name.starts_with(prefix))
            unlinkat(dirfd(listing), entry->d_name, 0);
    }
    closedir(listing);
}

bool ReplaceRegFile(const std::string& path, std::string_view text)
{
    struct stat old {};
    const bool hasOld = stat(path.c_str(), &old) == 0;
    if (hasOld && access(path.c_str(), W_OK) != 0)
        return false;

    const std::string folder = FolderOf(path);
    std::string temporary = folder + "/" + TemporaryPrefix(path) + "XXXXXX";
    const int file = mkostemp(temporary.data(), O_CLOEXEC);
    if (file < 0)
        return false;
    bool written = (!hasOld || fchmod(file, old.st_mode & 07777) == 0) && WriteAll(file, text) && fsync(file) == 0;
    int error = errno;
    if (close(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && rename(temporary.c_str(), path.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        unlink(temporary.c_str());
        errno = error;
        return false;
    }
    SyncFolder(folder);
    return true;
}

std::optional<std::string> MoveRegFileAside(const std::string& path)
{
    const std::string base = path + ".damaged-" + LocalTimeStamp();
    for (int attempt = 1; attempt <= MAX_ASIDE_ATTEMPTS; ++attempt) {
        const std::string aside = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        if (Exists(aside))
            continue;
        if (rename(path.c_str(), aside.c_str()) != 0)
            return std::nullopt;
        SyncFolder(FolderOf(path));
        return aside;
    }
    errno = EEXIST;
    return std::nullopt;
}

bool MakeFolders(const std::string& folder)
{
    if (folder.empty())
        return false;
    for (std::size_t end = folder.find('/', 1); ; end = folder.find('/', end + 1)) {
        const std::string prefix = folder.substr(0, end);
        if (!prefix.empty() && prefix.back() != '/' && mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (end == std::string::npos)
            break;
    }
    struct stat status {};
    return stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}
