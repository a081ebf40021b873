#include "platform/posix/DetachedProcess.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Reads until the end of the pipe; true when the grandchild reported that
// its exec failed.
bool ExecFailed(int descriptor)
{
    int error = 0;
    ssize_t count = 0;
    do {
        count = read(descriptor, &error, sizeof error);
    } while (count < 0 && errno == EINTR);
    return count > 0;
}

}

bool StartDetachedProcess(const std::string& program, const std::vector<std::string>& arguments)
{
    if (program.empty() || arguments.empty())
        return false;
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        // Only async-signal-safe calls from here on.
        close(report[0]);
        const pid_t grandchild = fork();
        if (grandchild != 0)
            _exit(grandchild > 0 ? 0 : 1);
        setsid();
        execv(program.c_str(), argv.data());
        const int error = errno;
        [[maybe_unused]] const auto written = write(report[1], &error, sizeof error);
        _exit(127);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    const bool failed = ExecFailed(report[0]);
    close(report[0]);
    return !failed && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
