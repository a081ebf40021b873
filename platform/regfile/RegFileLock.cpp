#include "platform/regfile/RegFileLock.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
constexpr auto LOCK_PATIENCE = std::chrono::seconds(3);
constexpr auto LOCK_RETRY_PAUSE = std::chrono::milliseconds(2);
}

RegFileLock::RegFileLock(const std::string& lockPath)
{
    const int file = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (file < 0)
        return;
    const auto deadline = std::chrono::steady_clock::now() + LOCK_PATIENCE;
    while (flock(file, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
            close(file);
            return;
        }
        std::this_thread::sleep_for(LOCK_RETRY_PAUSE);
    }
    m_nFile = file;
}

RegFileLock::~RegFileLock()
{
    if (m_nFile >= 0)
        close(m_nFile);
}
