// The saver the idle mode starts: one child process at a time, its end
// readable on a descriptor (a pidfd) so the resident loop can poll for it.
#pragma once

#include <string>
#include <utility>
#include <vector>

class SaverChild {
public:
    // `command` is the program file and its words (argv[0] first).
    explicit SaverChild(std::vector<std::string> command) : m_command(std::move(command)) {}
    // Ends a saver that still runs.
    ~SaverChild();
    SaverChild(const SaverChild&) = delete;
    SaverChild& operator=(const SaverChild&) = delete;

    // False, with `why`, when the program could not be started.
    bool Start(std::string& why);
    bool IsRunning() const { return m_nPid > 0; }
    // Readable once the running saver ended; -1 while none runs.
    int Descriptor() const { return m_nPidDescriptor; }
    // Collects the saver that ended.
    void Reap();
    // Asks a running saver to end (SIGTERM), then forces it after 5 s.
    void End();

private:
    void Forget();

    std::vector<std::string> m_command;
    int m_nPid = 0;
    int m_nPidDescriptor = -1;
};
