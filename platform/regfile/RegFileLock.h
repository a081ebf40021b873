// An advisory lock on a lock file, held from construction to destruction.
// The lock file is created when missing and stays in place.
#pragma once

#include <string>

class RegFileLock {
public:
    // Waits for the lock, giving up after a few seconds.
    explicit RegFileLock(const std::string& lockPath);
    ~RegFileLock();
    RegFileLock(const RegFileLock&) = delete;
    RegFileLock& operator=(const RegFileLock&) = delete;

    bool IsHeld() const { return m_nFile >= 0; }

private:
    int m_nFile = -1;
};
