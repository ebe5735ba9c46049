#include "platform/core/NamedSharedMemory.h"

#include "platform/core/NamedObjectName.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

NamedSharedMemory::~NamedSharedMemory() { close(); }

bool NamedSharedMemory::fail()
{
    m_error = errno;
    close();
    return false;
}

bool NamedSharedMemory::create(const QString& name, std::size_t size)
{
    close();
    m_posixName = PosixObjectName(name);
    if (m_posixName.isEmpty() || size == 0) {
        m_error = EINVAL;
        return false;
    }
    m_fd = ::shm_open(m_posixName.constData(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (m_fd < 0)
        return fail();
    m_owner = true;
    if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0)
        return fail();
    void* view = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
    if (view == MAP_FAILED)
        return fail();
    m_view = view;
    m_viewSize = size;
    m_writable = true;
    return true;
}

bool NamedSharedMemory::remove(const QString& name)
{
    const QByteArray posixName = PosixObjectName(name);
    return !posixName.isEmpty() && ::shm_unlink(posixName.constData()) == 0;
}

bool NamedSharedMemory::openForReading(const QString& name)
{
    close();
    m_posixName = PosixObjectName(name);
    if (m_posixName.isEmpty()) {
        m_error = EINVAL;
        return false;
    }
    m_fd = ::shm_open(m_posixName.constData(), O_RDONLY, 0);
    if (m_fd < 0)
        return fail();
    return true;
}

const void* NamedSharedMemory::mapView(std::size_t size)
{
    if (m_fd < 0 || m_view || size == 0) {
        m_error = EINVAL;
        return nullptr;
    }
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) {
        m_error = errno;
        return nullptr;
    }
    if (info.st_size < 0 || static_cast<std::size_t>(info.st_size) < size) {
        m_error = EACCES; // what a Windows view larger than its mapping fails with
        return nullptr;
    }
    void* view = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, m_fd, 0);
    if (view == MAP_FAILED) {
        m_error = errno;
        return nullptr;
    }
    m_view = view;
    m_viewSize = size;
    m_writable = false;
    return view;
}

void NamedSharedMemory::unmapView()
{
    if (m_view)
        ::munmap(m_view, m_viewSize);
    m_view = nullptr;
    m_viewSize = 0;
    m_writable = false;
}

void NamedSharedMemory::close()
{
    unmapView();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (m_owner)
        ::shm_unlink(m_posixName.constData());
    m_owner = false;
}

} // namespace platform
