#pragma once
// Handles the spooler hands out for printers and for one job of a printer
// ("name,Job N"). Job calls (reading the spooled data, job records) live beside the
// printer calls and find everything they need here.
#include <QIODevice>
#include <QString>
#include <QtGlobal>

#include <memory>

namespace platform {

struct PrinterHandleData {
    QString printerName; // as the printer was created
    quint32 access = 0;  // granted PrinterAccessRight bits
    quint32 jobId = 0;   // non-zero for a job handle
    // The job's spooled data, opened by the job reader on its first read.
    std::unique_ptr<QIODevice> jobStream;
};
using PrinterHandle = PrinterHandleData*;

PrinterHandle NewPrinterHandle(const QString& printerName, quint32 access, quint32 jobId = 0);
// False for null, closed or never-issued handles.
bool IsLivePrinterHandle(PrinterHandle handle);
// Frees the handle; false when it was not live.
bool ReleasePrinterHandle(PrinterHandle handle);

} // namespace platform
