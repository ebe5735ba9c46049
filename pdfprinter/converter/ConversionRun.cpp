#include "pdfprinter/converter/ConversionRun.h"

#include "components/transcoder/EMF2PDFTranscoder.h"
#include "pdfprinter/converter/ConvertJob.h"
#include "pdfprinter/converter/PrinterConverterDlg.h"
#include "pdfprinter/converter/SpoolRecordWalk.h"
#include "platform/core/Spooler.h"
#include "platform/core/SpoolJobs.h"

#include <QTextStream>

#include <pwd.h>
#include <unistd.h>

#include <cstring>

namespace {

constexpr qsizetype kJobNameBytes = 260;
constexpr qsizetype kUserNameBytes = 260;

} // namespace

void ReportSilentFailure(const _tagCONVERT_JOB& job, const QString& reason)
{
    // Nobody watches a silent run; its caller reads this.
    QTextStream(stderr) << "KVXE2PPRCONV: no PDF was written to " << JobText(job.szOutputPath) << ": " << reason
                        << Qt::endl;
}

QString JobPrinterName(const _tagCONVERT_JOB& job)
{
    const QByteArray name = JobText(job.szPrinterName).toLocal8Bit() + ",Job "
        + QByteArray::number(static_cast<qint32>(job.dwJobId));
    if (name.size() >= kJobNameBytes)
        return {};
    return QString::fromLocal8Bit(name);
}

QString ConverterUserName()
{
    passwd entry {};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) != 0 || !found || !found->pw_name)
        return {};
    const QByteArray name(found->pw_name);
    // The name is read into a 260-byte buffer; a longer one cannot be read.
    if (name.size() >= kUserNameBytes)
        return {};
    return QString::fromLocal8Bit(name);
}

void FillDocumentInfo(const _tagCONVERT_JOB& job, const QString& userName, _tagDOCUMENT_INFO* info)
{
    std::memset(info, 0, sizeof *info);
    std::memcpy(info->szOutputPath, job.szOutputPath, sizeof info->szOutputPath);
    std::memcpy(info->szDocumentName, job.szDocumentName, sizeof info->szDocumentName);
    SetJobText(info->szUserName, userName);
    std::memcpy(info->dwOptions, job.dwDocOptions, sizeof info->dwOptions);
    // The block's strings may lack their terminator; the record's always have one.
    info->szOutputPath[std::size(info->szOutputPath) - 1] = 0;
    info->szDocumentName[std::size(info->szDocumentName) - 1] = 0;
}

void RunConversion(CPrinterConverterDlg& dlg, const _tagCONVERT_JOB& job)
{
    const QString jobName = JobPrinterName(job);
    platform::PrinterHandle hJob = nullptr;
    if (jobName.isEmpty() || !platform::OpenPrinter(jobName, &hJob, nullptr)) {
        dlg.OnJobUnreadable();
        return;
    }

    _tagDOCUMENT_INFO info;
    FillDocumentInfo(job, ConverterUserName(), &info);

    CEMF2PDFTranscoder transcoder(&dlg);
    transcoder.BeginDocument(&info, 0);

    int page = 0;
    int notMetafiles = 0;
    CSpoolRecordWalk walk(
        [hJob](void* buffer, std::uint32_t size, std::uint32_t* read) {
            return platform::ReadPrinter(hJob, buffer, size, read);
        },
        [&](const QByteArray& data) {
            platform::HENHMETAFILE metafile = platform::SetEnhMetaFileBits(
                static_cast<unsigned>(data.size()), reinterpret_cast<const unsigned char*>(data.constData()));
            if (!metafile) {
                ++notMetafiles;
                return true; // not a metafile: skipped, and it takes no page number
            }
            ++page;
            const int goOn = transcoder.TranscodePage(metafile, page, static_cast<int>(job.dwPageOption));
            platform::DeleteEnhMetaFile(metafile);
            return goOn != 0;
        });
    walk.Run();

    transcoder.EndDocument();
    if (!dlg.IsConverted() && !dlg.IsInteractive()) {
        QString reason = transcoder.FailureReason();
        if (page == 0 && notMetafiles > 0)
            reason = QStringLiteral("none of the job's %1 pages is an enhanced metafile").arg(notMetafiles);
        else if (notMetafiles > 0)
            reason += QStringLiteral(" (%1 pages were no enhanced metafiles)").arg(notMetafiles);
        ReportSilentFailure(job, reason);
    }

    platform::SetJob(hJob, job.dwJobId, 0, nullptr, platform::JOB_CONTROL_DELETE);
    platform::ClosePrinter(hJob);

    dlg.StartFlashing();
}
