#pragma once
// The shell service: open a file or an address with its default program, or start a
// program by name. Tests install the recording backend and look at what was asked.
#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

struct ShellRequest {
    enum class Kind { Open, Start } kind = Kind::Open;
    QString target;       // file, address or program
    QStringList arguments; // for Start
};

class ShellBackend {
public:
    virtual ~ShellBackend() = default;
    virtual bool execute(const ShellRequest& request) = 0;
};

void setShellBackend(ShellBackend* backend); // not owned; null restores the system backend
ShellBackend* shellBackend();

bool ShellOpen(const QString& fileOrAddress);
bool ShellStart(const QString& program, const QStringList& arguments = {});

// Hands Open to xdg-open and Start to a detached process. Open succeeds when xdg-open ends
// with status 0, or is still running after `openerWaitMs`: without a desktop environment
// it runs the handling program in the foreground, and that one is then left running. It
// fails when xdg-open cannot be started or ends with another status (no program handles
// the file, the file is missing, ...).
class SystemShell : public ShellBackend {
public:
    explicit SystemShell(int openerWaitMs = 3000) : m_openerWaitMs(openerWaitMs) {}
    bool execute(const ShellRequest& request) override;

private:
    bool open(const QString& target) const;

    int m_openerWaitMs;
};

class RecordingShell : public ShellBackend {
public:
    bool execute(const ShellRequest& request) override
    {
        m_requests.append(request);
        return m_result;
    }
    const QList<ShellRequest>& requests() const { return m_requests; }
    void setResult(bool result) { m_result = result; }

private:
    QList<ShellRequest> m_requests;
    bool m_result = true;
};

class ScopedShellBackend {
public:
    explicit ScopedShellBackend(ShellBackend* backend);
    ~ScopedShellBackend();
    ScopedShellBackend(const ScopedShellBackend&) = delete;
    ScopedShellBackend& operator=(const ScopedShellBackend&) = delete;

private:
    ShellBackend* m_previous;
};

} // namespace platform
