#include "platform/core/Shell.h"

#include <QProcess>

namespace platform {
namespace {

ShellBackend* g_shell = nullptr;

SystemShell& systemShell()
{
    static SystemShell shell;
    return shell;
}

} // namespace

void setShellBackend(ShellBackend* backend) { g_shell = backend; }

ShellBackend* shellBackend() { return g_shell ? g_shell : &systemShell(); }

bool ShellOpen(const QString& fileOrAddress)
{
    return shellBackend()->execute({ShellRequest::Kind::Open, fileOrAddress, {}});
}

bool ShellStart(const QString& program, const QStringList& arguments)
{
    return shellBackend()->execute({ShellRequest::Kind::Start, program, arguments});
}

bool SystemShell::execute(const ShellRequest& request)
{
    if (request.target.isEmpty())
        return false;
    if (request.kind == ShellRequest::Kind::Open)
        return open(request.target);
    return QProcess::startDetached(request.target, request.arguments);
}

bool SystemShell::open(const QString& target) const
{
    auto* opener = new QProcess;
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->start(QStringLiteral("xdg-open"), {target});
    if (!opener->waitForStarted()) {
        delete opener;
        return false;
    }
    if (opener->state() == QProcess::NotRunning || opener->waitForFinished(m_openerWaitMs)) {
        const bool opened = opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
        delete opener;
        return opened;
    }
    // Still running: it is showing the file. Deleting the process object would kill it, so
    // the object goes when the process ends (or stays with the program when that ends first).
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    return true;
}

ScopedShellBackend::ScopedShellBackend(ShellBackend* backend)
    : m_previous(g_shell)
{
    g_shell = backend;
}

ScopedShellBackend::~ScopedShellBackend() { g_shell = m_previous; }

} // namespace platform
