// An eventfd that becomes readable once another thread has posted a
// message, so that a loop waiting in poll wakes for it.
#pragma once

class WakeDescriptor {
public:
    WakeDescriptor();
    ~WakeDescriptor();
    WakeDescriptor(const WakeDescriptor&) = delete;
    WakeDescriptor& operator=(const WakeDescriptor&) = delete;

    int Get() const { return m_nDescriptor; }
    void Signal() const;
    void Clear() const;

private:
    int m_nDescriptor;
};
