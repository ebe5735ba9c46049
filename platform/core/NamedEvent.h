#pragma once
// Named manual-reset events over POSIX named semaphores. Set leaves the event signalled
// (the count never goes above 1) and a successful wait leaves it signalled too, as a
// manual-reset Windows event does. The creator owns the name and removes it on close.
#include <QByteArray>
#include <QString>

#include <semaphore.h>

namespace platform {

class NamedEvent {
public:
    NamedEvent() = default;
    ~NamedEvent();
    NamedEvent(const NamedEvent&) = delete;
    NamedEvent& operator=(const NamedEvent&) = delete;

    // Creates the event not signalled. Fails with EEXIST when the name is taken: another
    // owner's event is never touched.
    bool create(const QString& name);
    // Removes the name of an event whose owner is known to be gone (a crashed one).
    static bool remove(const QString& name);
    // Opens an existing event (to set it).
    bool open(const QString& name);
    bool set();
    // True when the event is (or becomes) signalled within timeoutMs; a negative timeout waits
    // without limit.
    bool wait(int timeoutMs);
    bool isSignalled();
    void close();

    bool isOpen() const { return m_semaphore != nullptr; }
    int lastError() const { return m_error; }

private:
    sem_t* m_semaphore = nullptr;
    bool m_owner = false;
    QByteArray m_posixName;
    int m_error = 0;
};

} // namespace platform
