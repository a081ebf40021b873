#include "platform/posix/EndSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

namespace {
int g_pipe[2] = {-1, -1};

void OnEndSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = write(g_pipe[1], &byte, 1);
    errno = saved;
}
}

void InstallEndSignals()
{
    if (g_pipe[0] != -1 || pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT})
        sigaction(signal, &action, nullptr);
}

int EndSignalDescriptor() { return g_pipe[0]; }

bool TakeEndSignal()
{
    if (g_pipe[0] == -1)
        return false;
    char bytes[16];
    return read(g_pipe[0], bytes, sizeof bytes) > 0;
}
