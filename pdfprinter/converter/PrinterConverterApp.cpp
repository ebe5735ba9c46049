#include "pdfprinter/converter/PrinterConverterApp.h"

#include "pdfprinter/converter/ConvertJob.h"
#include "pdfprinter/converter/ConverterStrings.h"
#include "pdfprinter/converter/PrinterConverterDlg.h"
#include "platform/core/MessageBox.h"
#include "platform/core/NamedEvent.h"
#include "platform/core/NamedSharedMemory.h"
#include "platform/core/SpoolJobs.h"
#include "platform/core/Spooler.h"

#include <QApplication>
#include <QCoreApplication>
#include <QThread>
#include <QWidget>

#include <cerrno>
#include <cstring>

CPrinterConverterApp::CPrinterConverterApp() = default;

CPrinterConverterApp::~CPrinterConverterApp()
{
    if (m_pJob)
        RemoveJob();
    m_pJob.reset();
}

QWidget* CPrinterConverterApp::ForegroundOwner()
{
    QWidget* active = QApplication::activeWindow();
    if (active && !active->isVisible())
        active = active->parentWidget();
    return active;
}

bool CPrinterConverterApp::CopyJobBlock()
{
    platform::NamedSharedMemory mapping;
    if (mapping.openForReading(ConvertJobSharedMemoryName())) {
        if (const void* view = mapping.mapView(sizeof(_tagCONVERT_JOB))) {
            m_pJob = std::make_unique<_tagCONVERT_JOB>();
            std::memset(m_pJob.get(), 0, sizeof(_tagCONVERT_JOB));
            std::memcpy(m_pJob.get(), view, sizeof(_tagCONVERT_JOB));
            mapping.unmapView();
        }
    }
    mapping.close();

    // The starter waits for this, copied or not, before it lets the block go.
    platform::NamedEvent event;
    if (event.open(ConvertJobEventName()))
        event.set();
    event.close();
    return m_pJob != nullptr;
}

bool CPrinterConverterApp::InitInstance(const QStringList& arguments)
{
    QCoreApplication::setOrganizationName(QStringLiteral("KVX"));
    m_cmdInfo.ParseCommandLine(arguments);

    if (m_cmdInfo.m_nConvertMode == CommandLineInfoEx::MODE_DEFAULT) {
        CPrinterConverterDlg dlg(nullptr, true, nullptr);
        m_nDialogResult = dlg.DoModal();
        return m_nDialogResult == CPrinterConverterDlg::IDOK;
    }

    if (!CopyJobBlock()) {
        platform::ShowMessage(LoadConverterString(IDS_JOB_ERROR), ConverterCaption(), platform::MessageButtons::Ok,
                              platform::MessageIcon::Error);
        return false;
    }

    bool interactive = true;
    bool created = false;
    if (m_cmdInfo.m_nConvertMode == CommandLineInfoEx::MODE_SAVE_AS) {
        if (!AskOutputPath(*m_pJob, ForegroundOwner(), m_saveAsPrompt, &created))
            return false;
    } else if (m_cmdInfo.m_nConvertMode == CommandLineInfoEx::MODE_SILENT) {
        if (!OutputPathFits(*m_pJob)) {
            platform::ShowMessage(QString::fromLocal8Bit(std::strerror(ENAMETOOLONG)), ConverterCaption(),
                                  platform::MessageButtons::Ok, platform::MessageIcon::Error);
            return false;
        }
        if (!CheckOutputFile(JobText(m_pJob->szOutputPath), nullptr, &created))
            return false;
        interactive = false;
    }

    if (m_bStopRequested)
        return false;
    CPrinterConverterDlg dlg(m_pJob.get(), interactive, ForegroundOwner());
    dlg.SetOutputFileCreated(created);
    m_pDialog = &dlg;
    m_nDialogResult = dlg.DoModal();
    m_pDialog = nullptr;
    m_bConverted = dlg.IsConverted();
    return false;
}

void CPrinterConverterApp::RequestStop()
{
    m_bStopRequested = true;
    if (m_pDialog)
        m_pDialog->OnBnClickedCancel();
    else if (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
}

void CPrinterConverterApp::RemoveJob()
{
    const QString printerName = JobText(m_pJob->szPrinterName);
    platform::PrinterHandle printer = nullptr;
    if (printerName.isEmpty() || !platform::OpenPrinter(printerName, &printer, nullptr))
        return;
    const quint32 jobId = m_pJob->dwJobId;
    quint32 needed = 0;
    platform::GetJob(printer, jobId, 1, nullptr, 0, &needed);
    if (needed > 0) {
        platform::JobInfo1 job;
        bool known = platform::GetJob(printer, jobId, 1, &job, needed, &needed);
        // A job the spooler is still printing cannot go at once; ask again, but not forever.
        for (int retry = 0; known && job.status == platform::JOB_STATUS_PRINTING && retry < kRemovalRetries; ++retry) {
            platform::SetJob(printer, jobId, 0, nullptr, platform::JOB_CONTROL_DELETE);
            QThread::msleep(kRemovalRetryMs);
            known = platform::GetJob(printer, jobId, 1, &job, needed, &needed);
        }
        platform::SetJob(printer, jobId, 0, nullptr, platform::JOB_CONTROL_DELETE);
    }
    platform::ClosePrinter(printer);
}
