#pragma once
// Named shared memory (file mappings) over POSIX shm_open. The creator owns the name and
// removes it when it closes, as the last handle of a Windows mapping would.
#include <QString>

#include <cstddef>

namespace platform {

class NamedSharedMemory {
public:
    NamedSharedMemory() = default;
    ~NamedSharedMemory();
    NamedSharedMemory(const NamedSharedMemory&) = delete;
    NamedSharedMemory& operator=(const NamedSharedMemory&) = delete;

    // Creates the object with the given size and maps it for writing: data() is then valid.
    // Fails with EEXIST when the name is taken: another owner's object is never touched.
    bool create(const QString& name, std::size_t size);
    // Removes the name of an object whose owner is known to be gone (a crashed one).
    static bool remove(const QString& name);
    // Opens an existing object for reading only.
    bool openForReading(const QString& name);
    // Maps a read-only view of exactly size bytes from the start; fails when the object is
    // smaller, so a reader never touches memory past its end.
    const void* mapView(std::size_t size);
    void unmapView();
    // Unmaps, closes and, for the creator, removes the name.
    void close();

    void* data() const { return m_writable ? m_view : nullptr; }
    bool isOpen() const { return m_fd >= 0; }
    // errno of the last failure.
    int lastError() const { return m_error; }

private:
    bool fail();

    int m_fd = -1;
    void* m_view = nullptr;
    std::size_t m_viewSize = 0;
    bool m_writable = false;
    bool m_owner = false;
    QByteArray m_posixName;
    int m_error = 0;
};

} // namespace platform
