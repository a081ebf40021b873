#include "platform/posix/PosixFiles.h"

#include "platform/posix/PrivateTempFolder.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr auto READ_PATIENCE = std::chrono::seconds(3);

class Descriptor {
public:
    explicit Descriptor(int descriptor) : m_nDescriptor(descriptor) {}
    ~Descriptor()
    {
        if (m_nDescriptor >= 0)
            close(m_nDescriptor);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_nDescriptor; }

private:
    int m_nDescriptor;
};

// Reads until the end of the file or until more than `maxBytes` have come,
// starting with room for `expected` bytes. False on a read error.
bool ReadToEnd(int descriptor, std::size_t expected, std::size_t maxBytes, std::vector<BYTE>& bytes)
{
    constexpr std::size_t STEP = 64 * 1024;
    // One byte beyond the maximum tells a file that is too large.
    const std::size_t room = maxBytes < SIZE_MAX ? maxBytes + 1 : SIZE_MAX;
    bytes.resize(std::min(expected, room - 1) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used == room)
                break;
            bytes.resize(used + std::min(std::max(used, STEP), room - used));
        }
        const ssize_t got = read(descriptor, bytes.data() + used, bytes.size() - used);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
    }
    bytes.resize(used);
    return true;
}

bool WriteAll(int descriptor, const BYTE* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = write(descriptor, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

FileReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes, std::vector<BYTE>& bytes)
{
    // Not blocking on open, so that a pipe cannot stall it; then only a
    // regular file is read.
    const Descriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0)
        return FileReadResult::OpenFailed;
    struct stat status {};
    if (fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode))
        return FileReadResult::OpenFailed;
    const int flags = fcntl(file.Get(), F_GETFL);
    if (flags < 0 || fcntl(file.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        return FileReadResult::OpenFailed;
    if (static_cast<unsigned long long>(status.st_size) > maxBytes)
        return FileReadResult::TooLarge;
    const auto expected = static_cast<std::size_t>(status.st_size);
    try {
        if (!ReadToEnd(file.Get(), expected, maxBytes, bytes))
            return FileReadResult::ReadFailed;
    } catch (const std::bad_alloc&) {
        return FileReadResult::NoMemory;
    }
    if (bytes.size() > maxBytes)
        return FileReadResult::TooLarge;
    return FileReadResult::Ok;
}

// One read on a thread of its own, shared with the caller who may stop
// waiting for it.
struct ReadJob {
    std::mutex mutex;
    std::condition_variable finished;
    bool bDone = false;
    FileReadResult result = FileReadResult::ReadFailed;
    std::vector<BYTE> bytes;
};

} // namespace

FileReadResult PosixFiles::ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<BYTE>& bytes)
{
    bytes.clear();
    // A file on a mount that stopped answering would hold the caller (the
    // saver's one thread, with the keyboard and pointer grabbed) for as long
    // as the read hangs; the caller waits a bounded time and goes on without.
    const auto job = std::make_shared<ReadJob>();
    try {
        std::thread([job, path, maxBytes] {
            std::vector<BYTE> read;
            const FileReadResult result = ReadRegularFile(path, maxBytes, read);
            const std::lock_guard<std::mutex> lock(job->mutex);
            job->result = result;
            job->bytes = std::move(read);
            job->bDone = true;
            job->finished.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return ReadRegularFile(path, maxBytes, bytes);
    }
    std::unique_lock<std::mutex> lock(job->mutex);
    if (!job->finished.wait_for(lock, READ_PATIENCE, [&job] { return job->bDone; }))
        return FileReadResult::ReadFailed;
    bytes = std::move(job->bytes);
    return job->result;
}

std::string PosixFiles::TempFolder()
{
    if (!m_strTempFolder.empty())
        return m_strTempFolder;
    return PrivateTempFolder(std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR"));
}

std::string PosixFiles::TempFileName(const std::string& folder, const std::string& prefix, UINT unique)
{
    char number[16];
    std::snprintf(number, sizeof number, "%x", unique);
    return folder + prefix.substr(0, 3) + number + ".tmp";
}

bool PosixFiles::WriteWholeFile(const std::string& path, const BYTE* data, std::size_t size)
{
    // mkostemp creates the new file exclusively with mode 0600, so nothing
    // planted at its name is followed; the rename then replaces whatever
    // `path` names, a symbolic link included, without looking through it.
    std::string partial = path + ".XXXXXX";
    const int descriptor = mkostemp(partial.data(), O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool written = WriteAll(descriptor, data, size);
    const bool closed = close(descriptor) == 0;
    if (written && closed && rename(partial.c_str(), path.c_str()) == 0)
        return true;
    unlink(partial.c_str());
    return false;
}

bool PosixFiles::RemoveFile(const std::string& path)
{
    return unlink(path.c_str()) == 0;
}
