#pragma once
// Named mutexes over an advisory lock on a POSIX shared-memory object. The lock goes with
// its holder: a process that dies releases it, as Windows abandons a dead owner's mutex.
// The object itself stays (it holds no data) and is opened by every user of the machine,
// so that starters of different users take turns too.
#include <QByteArray>
#include <QString>

namespace platform {

class NamedMutex {
public:
    NamedMutex() = default;
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // Waits until this process holds the mutex, at most timeoutMs (negative: no limit).
    // False on timeout (lastError ETIMEDOUT) or when the object cannot be opened.
    bool lock(const QString& name, int timeoutMs);
    void unlock();
    // Removes the object; only for a name no process uses any more (a test's own namespace).
    static bool remove(const QString& name);

    bool isLocked() const { return m_fd >= 0; }
    int lastError() const { return m_error; }

private:
    int m_fd = -1;
    int m_error = 0;
};

} // namespace platform
