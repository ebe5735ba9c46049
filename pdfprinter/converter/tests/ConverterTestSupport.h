#pragma once
// What the converter's tests share: the "Corvel PDF" printer installed in the test's
// platform root, EMF pages, a window receiving relayed notifications, and PDF checks.
#include "platform/core/CopyData.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>

namespace convertertest {

// Installs the printer with pdfsetup once per test process; also gives the process its own
// namespace of named objects, which the programs it starts inherit.
void InstallPrinter();

// The converter the installed printer runs.
QString ConverterPath();

// One A4 page with the given lines of text.
QByteArray TextPage(const QStringList& lines);

// The job ids the printer still holds.
QList<quint32> QueuedJobs();

int PdfPageCount(const QString& pdf);
QString PdfText(const QString& pdf);

// A starter's notification window in a thread of its own, so that a synchronous relay
// from the test's thread gets its answer.
class NotificationWindow : public QThread {
public:
    NotificationWindow();
    ~NotificationWindow() override;
    quint32 handle() const { return m_handle; }
    QList<platform::CopyDataMessage> messages();

protected:
    void run() override;

private:
    QMutex m_mutex;
    QList<platform::CopyDataMessage> m_messages;
    std::atomic<bool> m_ready = false;
    std::atomic<quint32> m_handle = 0;
};

} // namespace convertertest
