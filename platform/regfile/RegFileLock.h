// An advisory lock on a lock file, held from construction to destruction.
// The lock file is created when missing and stays in place.
#pragma once

#include <string>

class RegFileLock {
public:
    // Waits for the lock, giving up after half a second: a writer holds it
    // for a few milliseconds, and the sheet must not freeze behind one that
    // never lets go.
    explicit RegFileLock(const std::string& lockPath);
    ~RegFileLock();
    RegFileLock(const RegFileLock&) = delete;
    RegFileLock& operator=(const RegFileLock&) = delete;

    bool IsHeld() const { return m_nFile >= 0; }
    // Why the lock is not held: the lock file's error, or that another
    // process kept it.
    const std::string& Failure() const { return m_strFailure; }

private:
    int m_nFile = -1;
    std::string m_strFailure;
};
