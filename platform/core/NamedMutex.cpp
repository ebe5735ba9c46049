#include "platform/core/NamedMutex.h"

#include "platform/core/NamedObjectName.h"

#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// A holder keeps the mutex for a hand-over at most; a short nap between tries is enough.
constexpr int kRetryMs = 10;

} // namespace

NamedMutex::~NamedMutex() { unlock(); }

bool NamedMutex::lock(const QString& name, int timeoutMs)
{
    unlock();
    const QByteArray posixName = PosixObjectName(name);
    if (posixName.isEmpty()) {
        m_error = EINVAL;
        return false;
    }
    const int fd = ::shm_open(posixName.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        m_error = errno;
        return false;
    }
    // Whoever made the object first lets every other user lock it too (the umask would not).
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_uid == ::geteuid())
        ::fchmod(fd, 0666);

    const QDeadlineTimer deadline = timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(timeoutMs);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_fd = fd;
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            m_error = errno;
            break;
        }
        if (deadline.hasExpired()) {
            m_error = ETIMEDOUT;
            break;
        }
        QThread::msleep(kRetryMs);
    }
    ::close(fd);
    return false;
}

bool NamedMutex::remove(const QString& name)
{
    const QByteArray posixName = PosixObjectName(name);
    return !posixName.isEmpty() && ::shm_unlink(posixName.constData()) == 0;
}

void NamedMutex::unlock()
{
    if (m_fd < 0)
        return;
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

} // namespace platform
