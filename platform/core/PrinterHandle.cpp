#include "platform/core/PrinterHandle.h"

#include <QMutex>
#include <QSet>

namespace platform {

namespace {

QMutex g_mutex;
QSet<PrinterHandle> g_live;

} // namespace

PrinterHandle NewPrinterHandle(const QString& printerName, quint32 access, quint32 jobId)
{
    auto* handle = new PrinterHandleData;
    handle->printerName = printerName;
    handle->access = access;
    handle->jobId = jobId;
    QMutexLocker lock(&g_mutex);
    g_live.insert(handle);
    return handle;
}

bool IsLivePrinterHandle(PrinterHandle handle)
{
    QMutexLocker lock(&g_mutex);
    return handle && g_live.contains(handle);
}

bool ReleasePrinterHandle(PrinterHandle handle)
{
    {
        QMutexLocker lock(&g_mutex);
        if (!handle || !g_live.remove(handle))
            return false;
    }
    delete handle;
    return true;
}

} // namespace platform
