#include "platform/regfile/RegFileLock.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr auto LOCK_PATIENCE = std::chrono::milliseconds(500);

// A wait for the lock in the kernel's queue, which is fair to every
// waiter where a retry loop would starve behind a busy writer. The waiting
// thread owns the descriptor once its caller stops waiting, and closes it.
struct LockWait {
    explicit LockWait(int descriptor) : file(descriptor) {}

    std::mutex mutex;
    std::condition_variable finished;
    const int file;
    bool bDone = false;
    bool bAbandoned = false;
    int error = 0;
};

void WaitForLock(const std::shared_ptr<LockWait>& wait)
{
    int result = 0;
    do {
        result = flock(wait->file, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    const int error = result == 0 ? 0 : errno;
    const std::lock_guard<std::mutex> lock(wait->mutex);
    wait->bDone = true;
    wait->error = error;
    if (wait->bAbandoned)
        close(wait->file);
    wait->finished.notify_all();
}

} // namespace

RegFileLock::RegFileLock(const std::string& lockPath)
{
    const int file = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (file < 0) {
        m_strFailure = lockPath + ": " + std::strerror(errno);
        return;
    }
    if (flock(file, LOCK_EX | LOCK_NB) == 0) {
        m_nFile = file;
        return;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) {
        m_strFailure = lockPath + ": " + std::strerror(errno);
        close(file);
        return;
    }
    const auto wait = std::make_shared<LockWait>(file);
    try {
        std::thread(WaitForLock, wait).detach();
    } catch (const std::system_error&) {
        m_strFailure = lockPath + ": another program holds this lock";
        close(file);
        return;
    }
    std::unique_lock<std::mutex> lock(wait->mutex);
    if (!wait->finished.wait_for(lock, LOCK_PATIENCE, [&] { return wait->bDone; })) {
        wait->bAbandoned = true;
        m_strFailure = lockPath + ": another program holds this lock";
        return;
    }
    if (wait->error != 0) {
        m_strFailure = lockPath + ": " + std::strerror(wait->error);
        close(file);
        return;
    }
    m_nFile = file;
}

RegFileLock::~RegFileLock()
{
    if (m_nFile >= 0)
        close(m_nFile);
}
