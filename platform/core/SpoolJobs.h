#pragma once
// Print jobs of the spooler stand-in. A job is its spool file "<id>.spl" in the printer's
// job folder (data in the EMF spool format, as the driver spooled it) and a record
// "<id>.job" beside it (document, user, status, times). Jobs are opened as
// "printer,Job N" through OpenPrinter and read back with ReadPrinter; GetJob and SetJob
// work on any handle of the printer. The calls set the last error like their Win32 models.
#include "platform/core/PrinterHandle.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <memory>

namespace platform {

enum JobStatus : quint32 {
    JOB_STATUS_PAUSED = 0x00000001,
    JOB_STATUS_ERROR = 0x00000002,
    JOB_STATUS_DELETING = 0x00000004,
    JOB_STATUS_SPOOLING = 0x00000008,
    JOB_STATUS_PRINTING = 0x00000010,
    JOB_STATUS_PRINTED = 0x00000080,
};

enum JobControl : quint32 {
    JOB_CONTROL_PAUSE = 1,
    JOB_CONTROL_RESUME = 2,
    JOB_CONTROL_CANCEL = 3,
    JOB_CONTROL_RESTART = 4,
    JOB_CONTROL_DELETE = 5,
};

struct JobInfo1 {
    quint32 jobId = 0;
    QString printerName;
    QString machineName;
    QString userName;
    QString document;
    QString dataType;
    QString statusText;
    quint32 status = 0;
    quint32 priority = 1;
    quint32 position = 0;
    quint32 totalPages = 0;
    quint32 pagesPrinted = 0;
    QDateTime submitted;
};

// Spools a job piece by piece, as a driver writes a document that does not fit in memory.
// From begin to commit the job is listed with JOB_STATUS_SPOOLING; a writer destroyed or
// failing before its commit removes the job again.
class SpoolJobWriter {
public:
    SpoolJobWriter() = default;
    ~SpoolJobWriter();
    SpoolJobWriter(const SpoolJobWriter&) = delete;
    SpoolJobWriter& operator=(const SpoolJobWriter&) = delete;

    bool begin(const QString& printerName, const QString& documentName);
    bool write(const QByteArray& data);
    // Returns the job id, 0 on failure.
    quint32 commit(quint32 totalPages, quint32 status = JOB_STATUS_PRINTING);
    void cancel();
    quint32 jobId() const { return m_job.jobId; }

private:
    JobInfo1 m_job;
    std::unique_ptr<QFile> m_spool;
};

// Queues a job on an existing printer, as the driver does when a document has been spooled:
// the data becomes the job's spool file. Returns the new job id, 0 on failure.
quint32 AddSpoolJob(const QString& printerName, const QString& documentName, const QByteArray& data,
                    quint32 totalPages = 0, quint32 status = JOB_STATUS_PRINTING);

// Reads the next bytes of the job a "printer,Job N" handle stands for. At the end of the
// data it succeeds with 0 bytes read.
bool ReadPrinter(PrinterHandle handle, void* buffer, quint32 size, quint32* read);

// Level 1 only. With no record, or a bufferSize below the record's size, it fails with
// ErrorInsufficientBuffer and tells the size in *needed; an unknown job fails with
// ErrorInvalidParameter and needs 0.
bool GetJob(PrinterHandle handle, quint32 jobId, quint32 level, JobInfo1* info, quint32 bufferSize,
            quint32* needed);
// Level 0 with a command: JOB_CONTROL_DELETE and JOB_CONTROL_CANCEL remove the job (a reader
// that has it open reads on to its end), PAUSE and RESUME change the status.
bool SetJob(PrinterHandle handle, quint32 jobId, quint32 level, const JobInfo1* info, quint32 command);
// The printer's jobs in the order they were queued.
bool EnumJobs(PrinterHandle handle, QList<JobInfo1>* jobs);

} // namespace platform
