#include "pdfprinter/setup/CupsQueue.h"

#include "pdfprinter/setup/SetupLog.h"

#include <QDir>
#include <QFile>

#include <cups/cups.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace {

const QString kBackendFile = QStringLiteral("kvxpdf");
const QString kPpdFile = QStringLiteral("CorvelPDF.ppd");
const QString kPrinterInfo = QStringLiteral("Corvel PDF");

struct HttpClose {
    void operator()(http_t* http) const { httpClose(http); }
};
using Connection = std::unique_ptr<http_t, HttpClose>;

QString serverName() { return QString::fromUtf8(cupsServer()); }

Connection connectToServer(CSetupLog& log)
{
    Connection http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr));
    if (!http)
        log.Write(QStringLiteral("CUPS - no print server at %1").arg(serverName()));
    return http;
}

ipp_t* printerRequest(ipp_op_t operation)
{
    ipp_t* request = ippNewRequest(operation);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                     CCupsQueue::QueueName().toUtf8().constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return request;
}

// "IPP Status--<code> --- <text>", as the error entries give the system's text.
void logResult(CSetupLog& log, const QString& context)
{
    log.Write(context);
    log.Write(QStringLiteral("IPP Status--0x%1 --- %2")
                  .arg(QString::number(int(cupsLastError()), 16).rightJustified(4, u'0'),
                       QString::fromUtf8(cupsLastErrorString())));
}

} // namespace

QString CCupsQueue::QueueName() { return QStringLiteral("Corvel_PDF"); }

QString CCupsQueue::DeviceUri() { return QStringLiteral("kvxpdf:/"); }

QString CCupsQueue::BackendFolder()
{
    const QString serverBin = qEnvironmentVariable("CUPS_SERVERBIN", QStringLiteral("/usr/lib/cups"));
    return serverBin + QStringLiteral("/backend");
}

bool CCupsQueue::InstallBackend(const QString& sourceFolder)
{
    const QString source = sourceFolder + QStringLiteral("/cups/") + kBackendFile;
    const QString destination = BackendFolder() + u'/' + kBackendFile;
    m_log.Write(QStringLiteral("CUPS - backend"));
    m_log.Write(destination);
    QFile from(source);
    QFile to(destination);
    if (from.open(QIODevice::ReadOnly) && to.open(QIODevice::ReadOnly) && from.readAll() == to.readAll())
        return true; // already there
    from.close();
    to.close();
    const QString staged = destination + QStringLiteral(".new");
    QFile::remove(staged);
    // Root only: CUPS runs such a backend as root, and it then becomes the job's user.
    const bool copied = QFile::copy(source, staged)
        && ::chmod(QFile::encodeName(staged).constData(), S_IRWXU) == 0
        && ::rename(QFile::encodeName(staged).constData(), QFile::encodeName(destination).constData()) == 0;
    if (!copied) {
        const int error = errno;
        QFile::remove(staged);
        m_log.Write(QStringLiteral("CUPS - Copy File Error: %1").arg(QString::fromLocal8Bit(std::strerror(error))));
        m_log.Write(source);
    }
    return copied;
}

void CCupsQueue::Add(const QString& sourceFolder)
{
    Connection http = connectToServer(m_log);
    if (!http)
        return;
    InstallBackend(sourceFolder);

    const QString ppd = sourceFolder + QStringLiteral("/cups/") + kPpdFile;
    ipp_t* request = printerRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER);
    ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr, DeviceUri().toUtf8().constData());
    ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_TEXT, "printer-info", nullptr, kPrinterInfo.toUtf8().constData());
    ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_TEXT, "printer-make-and-model", nullptr,
                 kPrinterInfo.toUtf8().constData());
    // A job that cannot be kept fails alone; the queue stays open for everyone else.
    ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_NAME, "printer-error-policy", nullptr, "abort-job");
    ippAddInteger(request, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
    ippAddBoolean(request, IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
    ippDelete(cupsDoFileRequest(http.get(), request, "/admin/", QFile::encodeName(ppd).constData()));
    logResult(m_log, QStringLiteral("CUPS - AddPrinter() %1").arg(QueueName()));
}

void CCupsQueue::Remove()
{
    Connection http = connectToServer(m_log);
    if (!http)
        return;
    ippDelete(cupsDoRequest(http.get(), printerRequest(IPP_OP_CUPS_DELETE_PRINTER), "/admin/"));
    logResult(m_log, QStringLiteral("CUPS - DeletePrinter() %1").arg(QueueName()));
}
