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
        return QProcess::startDetached(QStringLiteral("xdg-open"), {request.target});
    return QProcess::startDetached(request.target, request.arguments);
}

ScopedShellBackend::ScopedShellBackend(ShellBackend* backend)
    : m_previous(g_shell)
{
    g_shell = backend;
}

ScopedShellBackend::~ScopedShellBackend() { g_shell = m_previous; }

} // namespace platform
