#include "pdfprinter/cups/tests/PrivateCups.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <cstdlib>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeFile(const QString& path, const QString& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

// A loopback port nobody listens on now.
int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

} // namespace

PrivateCups::PrivateCups()
{
    const QString cupsd = QStandardPaths::findExecutable("cupsd", {"/usr/sbin", "/usr/local/sbin"});
    if (cupsd.isEmpty() || QStandardPaths::findExecutable("lp").isEmpty()) {
        m_problem = "cupsd or lp is not installed (scripts/packages.txt lists them)";
        return;
    }
    // Directly below /tmp and open to all: CUPS runs its filters as the "lp" user.
    QByteArray folder = QFile::encodeName(QDir::rootPath() + "tmp/kvx-cups-XXXXXX");
    if (!::mkdtemp(folder.data())) {
        m_problem = "cannot make a scratch folder";
        return;
    }
    m_folder = QFile::decodeName(folder);
    ::chmod(folder.constData(), 0755);
    for (const char* sub : {"etc", "spool", "cache", "run", "log", "serverbin", "serverbin/backend"})
        QDir().mkpath(m_folder + "/" + sub);
    QDir().mkpath(m_folder + "/tmp");
    ::chmod(QFile::encodeName(m_folder + "/tmp").constData(), 01777);
    for (const char* sub : {"filter", "daemon", "cgi-bin", "notifier", "monitor", "driver"})
        QFile::link(QString("/usr/lib/cups/") + sub, m_folder + "/serverbin/" + sub);

    m_port = freePort();
    const bool root = ::geteuid() == 0;
    writeFile(m_folder + "/etc/cupsd.conf", QString(R"(Listen %1/cups.sock
Listen 127.0.0.1:%2
LogLevel debug
Browsing Off
DefaultAuthType None
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
)").arg(m_folder).arg(m_port));
    writeFile(m_folder + "/etc/cups-files.conf", QString(R"(ServerRoot %1/etc
RequestRoot %1/spool
TempDir %1/tmp
CacheDir %1/cache
StateDir %1/run
ServerBin %1/serverbin
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
AccessLog %1/log/access_log
ErrorLog %1/log/error_log
PageLog %1/log/page_log
FileDevice No
Sandboxing Relaxed
%2)").arg(m_folder, root ? "User lp\nGroup lp\nSystemGroup root\n" : ""));

    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.start(cupsd, {"-f", "-c", m_folder + "/etc/cupsd.conf", "-s", m_folder + "/etc/cups-files.conf"});
    if (!m_cupsd.waitForStarted(10000)) {
        m_problem = "cupsd does not start: " + m_cupsd.errorString();
        return;
    }
    // Up once it answers.
    QDeadlineTimer deadline(30000);
    while (run("lpstat", {"-r"}) != 0) {
        if (deadline.hasExpired() || m_cupsd.state() == QProcess::NotRunning) {
            m_problem = "cupsd did not come up: " + QString::fromLocal8Bit(m_cupsd.readAll()) + errorLog().right(2000);
            return;
        }
        QThread::msleep(100);
    }
}

PrivateCups::~PrivateCups()
{
    if (m_cupsd.state() != QProcess::NotRunning) {
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(10000))
            m_cupsd.kill();
        m_cupsd.waitForFinished(5000);
    }
    if (!m_folder.isEmpty())
        QDir(m_folder).removeRecursively();
}

QString PrivateCups::errorLog() const
{
    QFile log(m_folder + "/log/error_log");
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

int PrivateCups::run(const QString& tool, const QStringList& arguments, QString* output) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("CUPS_SERVER", socket());
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(tool, arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool PrivateCups::waitUntilIdle(const QString& queue, int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        QString jobs;
        if (run("lpstat", {"-W", "not-completed", "-o", queue}, &jobs) == 0 && jobs.trimmed().isEmpty())
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
}
