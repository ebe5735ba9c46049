#include "pdfprinter/converter/tests/ConverterTestSupport.h"

#include "components/emfwriter/EmfWriter.h"
#include "components/printjob/PrintJobStarter.h"
#include "platform/core/KnownFolders.h"
#include "platform/core/NamedMutex.h"
#include "platform/core/SpoolJobs.h"
#include "platform/core/Spooler.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdlib>

namespace convertertest {

void InstallPrinter()
{
    static bool installed = false;
    if (installed)
        return;
    qputenv("KVX_OBJECT_NAMESPACE", "convertertest" + QByteArray::number(QCoreApplication::applicationPid()) + ".");
    // The starters' turn mutex outlives them; this namespace's goes with the test process.
    std::atexit([] { platform::NamedMutex::remove("Global\\MUTEX{9B63F701-A616-4994-A99A-EB38719733A1}"); });
    // As a user installs it: the converter and the transcoder then run from the driver folder.
    QProcess setup;
    setup.start(QStringLiteral(KVX_BIN_DIR) + "/pdfsetup", {"/s /" + QStringLiteral(KVX_BIN_DIR)});
    ASSERT_TRUE(setup.waitForFinished(120000));
    ASSERT_FALSE(ConverterPath().isEmpty()) << "pdfsetup did not install the printer";
    installed = true;
}

QString ConverterPath()
{
    QString problems;
    QTextStream err(&problems);
    return printjob::InstalledConverterPath(err);
}

QByteArray TextPage(const QStringList& lines)
{
    emfwriter::EmfWriter writer(QSizeF(210.0, 297.0), 96);
    writer.selectObject(writer.createFont(-16));
    writer.setBkMode(1);
    for (qsizetype i = 0; i < lines.size(); ++i)
        writer.textOut(QPoint(80, 80 + int(i) * 24), lines.at(i));
    return writer.finish();
}

QList<quint32> QueuedJobs()
{
    QList<quint32> ids;
    platform::PrinterHandle printer = nullptr;
    if (!platform::OpenPrinter("Corvel PDF", &printer))
        return ids;
    QList<platform::JobInfo1> jobs;
    platform::EnumJobs(printer, &jobs);
    platform::ClosePrinter(printer);
    for (const platform::JobInfo1& job : jobs)
        ids.append(job.jobId);
    return ids;
}

int PdfPageCount(const QString& pdf)
{
    QProcess info;
    info.start("pdfinfo", {pdf});
    info.waitForFinished(30000);
    const QRegularExpressionMatch pages
        = QRegularExpression("^Pages:\\s+(\\d+)", QRegularExpression::MultilineOption).match(info.readAllStandardOutput());
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

QString PdfText(const QString& pdf)
{
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    text.waitForFinished(30000);
    return QString::fromUtf8(text.readAllStandardOutput());
}

NotificationWindow::NotificationWindow()
{
    start();
    while (!m_ready)
        QThread::yieldCurrentThread();
}

NotificationWindow::~NotificationWindow()
{
    quit();
    wait();
}

QList<platform::CopyDataMessage> NotificationWindow::messages()
{
    QMutexLocker lock(&m_mutex);
    return m_messages;
}

void NotificationWindow::run()
{
    platform::CopyDataReceiver receiver;
    receiver.setHandler([this](const platform::CopyDataMessage& message) {
        QMutexLocker lock(&m_mutex);
        m_messages.append(message);
        return qint64(1);
    });
    receiver.listen();
    m_handle = receiver.handle();
    m_ready = true;
    exec();
}

} // namespace convertertest
