#include "pdfprinter/setup/SetupLog.h"

#include "platform/core/KnownFolders.h"
#include "platform/core/LastError.h"

#include <QDateTime>

CSetupLog::CSetupLog() : m_file(LogFileName())
{
    // Without a log the installer still does its work; it only cannot tell.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    WriteLine(QStringLiteral("---------------Start"));
    WriteLine(QString::asprintf("Time : %d.%d.%d - %d:%d:%d", now.date().year(), now.date().month(),
                                now.date().day(), now.time().hour(), now.time().minute(), now.time().second()));
}

QString CSetupLog::LogFileName() { return platform::TempFolder() + QStringLiteral("/PrinterSetup.log"); }

void CSetupLog::Write(const QString& text) { WriteLine(QLatin1Char('-') + text); }

void CSetupLog::WriteError(const QString& context, quint32 code)
{
    QString message;
    if (!platform::SystemErrorText(code, &message))
        return;
    WriteLine(QLatin1Char('-') + context);
    WriteLine(QStringLiteral("Error Message--%1 --- %2").arg(code).arg(message));
}

void CSetupLog::WriteLine(const QString& line)
{
    if (!m_file.isOpen())
        return;
    m_file.write((line + QLatin1Char('\n')).toLocal8Bit());
    m_file.flush();
}
