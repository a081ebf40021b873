#include "platform/idle/SaverChild.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace {
constexpr int kEndGraceMs = 5000;
}

SaverChild::~SaverChild() { End(); }

bool SaverChild::Start(std::string& why)
{
    std::vector<char*> argv;
    for (const auto& word : m_command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    // The idle mode ignores SIGPIPE; the saver gets the default back.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        why = std::strerror(spawned);
        return false;
    }
    m_nPid = pid;
    m_nPidDescriptor = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (m_nPidDescriptor < 0) {
        why = std::string("its end cannot be watched (") + std::strerror(errno) + ")";
        End();
        return false;
    }
    return true;
}

void SaverChild::Reap()
{
    if (m_nPid <= 0)
        return;
    int status = 0;
    if (waitpid(m_nPid, &status, WNOHANG) == m_nPid)
        Forget();
}

void SaverChild::End()
{
    if (m_nPid <= 0)
        return;
    kill(m_nPid, SIGTERM);
    pollfd ended{m_nPidDescriptor, POLLIN, 0};
    if (m_nPidDescriptor < 0 || poll(&ended, 1, kEndGraceMs) <= 0)
        kill(m_nPid, SIGKILL);
    int status = 0;
    while (waitpid(m_nPid, &status, 0) < 0 && errno == EINTR) {
    }
    Forget();
}

void SaverChild::Forget()
{
    if (m_nPidDescriptor >= 0)
        close(m_nPidDescriptor);
    m_nPidDescriptor = -1;
    m_nPid = 0;
}
