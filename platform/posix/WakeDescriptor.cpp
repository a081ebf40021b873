#include "platform/posix/WakeDescriptor.h"

#include <sys/eventfd.h>
#include <unistd.h>

WakeDescriptor::WakeDescriptor() : m_nDescriptor(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

WakeDescriptor::~WakeDescriptor()
{
    if (m_nDescriptor >= 0)
        close(m_nDescriptor);
}

void WakeDescriptor::Signal() const
{
    if (m_nDescriptor >= 0)
        eventfd_write(m_nDescriptor, 1);
}

void WakeDescriptor::Clear() const
{
    eventfd_t posts = 0;
    if (m_nDescriptor >= 0)
        eventfd_read(m_nDescriptor, &posts);
}
