#include "platform/core/NamedEvent.h"

#include "platform/core/NamedObjectName.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>

namespace platform {

NamedEvent::~NamedEvent() { close(); }

bool NamedEvent::create(const QString& name)
{
    close();
    m_posixName = PosixObjectName(name);
    if (m_posixName.isEmpty()) {
        m_error = EINVAL;
        return false;
    }
    sem_t* semaphore = ::sem_open(m_posixName.constData(), O_CREAT | O_EXCL, 0600, 0);
    if (semaphore == SEM_FAILED) {
        m_error = errno;
        return false;
    }
    m_semaphore = semaphore;
    m_owner = true;
    return true;
}

bool NamedEvent::remove(const QString& name)
{
    const QByteArray posixName = PosixObjectName(name);
    return !posixName.isEmpty() && ::sem_unlink(posixName.constData()) == 0;
}

bool NamedEvent::open(const QString& name)
{
    close();
    m_posixName = PosixObjectName(name);
    if (m_posixName.isEmpty()) {
        m_error = EINVAL;
        return false;
    }
    sem_t* semaphore = ::sem_open(m_posixName.constData(), 0);
    if (semaphore == SEM_FAILED) {
        m_error = errno;
        return false;
    }
    m_semaphore = semaphore;
    return true;
}

bool NamedEvent::set()
{
    if (!m_semaphore) {
        m_error = EINVAL;
        return false;
    }
    // Two setters may both see 0 and post; a count of 2 still reads as "signalled".
    int value = 0;
    if (::sem_getvalue(m_semaphore, &value) == 0 && value > 0)
        return true;
    if (::sem_post(m_semaphore) != 0) {
        m_error = errno;
        return false;
    }
    return true;
}

bool NamedEvent::isSignalled()
{
    int value = 0;
    return m_semaphore && ::sem_getvalue(m_semaphore, &value) == 0 && value > 0;
}

bool NamedEvent::wait(int timeoutMs)
{
    if (!m_semaphore) {
        m_error = EINVAL;
        return false;
    }
    int result = 0;
    if (timeoutMs < 0) {
        do {
            result = ::sem_wait(m_semaphore);
        } while (result != 0 && errno == EINTR);
    } else {
        timespec deadline {};
        ::clock_gettime(CLOCK_REALTIME, &deadline);
        deadline.tv_sec += timeoutMs / 1000;
        deadline.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000L;
        if (deadline.tv_nsec >= 1000000000L) {
            deadline.tv_sec += 1;
            deadline.tv_nsec -= 1000000000L;
        }
        do {
            result = ::sem_timedwait(m_semaphore, &deadline);
        } while (result != 0 && errno == EINTR);
    }
    if (result != 0) {
        m_error = errno;
        return false;
    }
    ::sem_post(m_semaphore); // manual reset: stay signalled for other waiters
    return true;
}

void NamedEvent::close()
{
    if (m_semaphore)
        ::sem_close(m_semaphore);
    m_semaphore = nullptr;
    if (m_owner)
        ::sem_unlink(m_posixName.constData());
    m_owner = false;
}

} // namespace platform
