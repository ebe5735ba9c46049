#include "platform/core/LastError.h"

#include <QHash>

#include <cerrno>

namespace platform {

namespace {

thread_local quint32 t_lastError = ErrorSuccess;

const QHash<quint32, QString>& messageTable()
{
    static const QHash<quint32, QString> table = {
        {ErrorSuccess, QStringLiteral("The operation completed successfully.")},
        {ErrorFileNotFound, QStringLiteral("The system cannot find the file specified.")},
        {ErrorPathNotFound, QStringLiteral("The system cannot find the path specified.")},
        {ErrorAccessDenied, QStringLiteral("Access is denied.")},
        {ErrorInvalidHandle, QStringLiteral("The handle is invalid.")},
        {ErrorNotEnoughMemory, QStringLiteral("Not enough memory resources are available to process this command.")},
        {ErrorInvalidData, QStringLiteral("The data is invalid.")},
        {ErrorWriteFault, QStringLiteral("The system cannot write to the specified device.")},
        {ErrorReadFault, QStringLiteral("The system cannot read from the specified device.")},
        {ErrorSharingViolation, QStringLiteral("The process cannot access the file because it is being used by another process.")},
        {ErrorFileExists, QStringLiteral("The file exists.")},
        {ErrorInvalidParameter, QStringLiteral("The parameter is incorrect.")},
        {ErrorDiskFull, QStringLiteral("There is not enough space on the disk.")},
        {ErrorInsufficientBuffer, QStringLiteral("The data area passed to a system call is too small.")},
        {ErrorInvalidName, QStringLiteral("The filename, directory name, or volume label syntax is incorrect.")},
        {ErrorInvalidLevel, QStringLiteral("The system call level is not correct.")},
        {ErrorModNotFound, QStringLiteral("The specified module could not be found.")},
        {ErrorProcNotFound, QStringLiteral("The specified procedure could not be found.")},
        {ErrorAlreadyExists, QStringLiteral("Cannot create a file when that file already exists.")},
        {ErrorBadExeFormat, QStringLiteral("%1 is not a valid Win32 application.")},
        {ErrorNoMoreItems, QStringLiteral("No more data is available.")},
        {ErrorBadDatabase, QStringLiteral("The configuration registry database is corrupt.")},
        {ErrorInvalidServiceControl, QStringLiteral("The requested control is not valid for this service.")},
        {ErrorServiceRequestTimeout, QStringLiteral("The service did not respond to the start or control request in a timely fashion.")},
        {ErrorServiceAlreadyRunning, QStringLiteral("An instance of the service is already running.")},
        {ErrorServiceDoesNotExist, QStringLiteral("The specified service does not exist as an installed service.")},
        {ErrorServiceCannotAcceptControl, QStringLiteral("The service cannot accept control messages at this time.")},
        {ErrorServiceNotActive, QStringLiteral("The service has not been started.")},
        {ErrorRpcServerUnavailable, QStringLiteral("The RPC server is unavailable.")},
        {ErrorUnknownPort, QStringLiteral("The specified port is unknown.")},
        {ErrorUnknownPrinterDriver, QStringLiteral("The printer driver is unknown.")},
        {ErrorUnknownPrintProcessor, QStringLiteral("The print processor is unknown.")},
        {ErrorInvalidPrinterName, QStringLiteral("The printer name is invalid.")},
        {ErrorPrinterAlreadyExists, QStringLiteral("The printer already exists.")},
        {ErrorInvalidEnvironment, QStringLiteral("The environment specified is invalid.")},
        {ErrorPrinterDeleted, QStringLiteral("The printer has been deleted.")},
        {ErrorUnknownPrintMonitor, QStringLiteral("The specified print monitor is unknown.")},
        {ErrorPrinterDriverInUse, QStringLiteral("The specified printer driver is currently in use.")},
        {ErrorPrintMonitorAlreadyInstalled, QStringLiteral("The specified print monitor has already been installed.")},
        {ErrorInvalidPrintMonitor, QStringLiteral("The specified print monitor does not have the required functions.")},
        {ErrorPrintMonitorInUse, QStringLiteral("The specified print monitor is currently in use.")},
    };
    return table;
}

} // namespace

quint32 GetLastError() { return t_lastError; }

void SetLastError(quint32 code) { t_lastError = code; }

bool SystemErrorText(quint32 code, QString* text)
{
    const auto& table = messageTable();
    const auto found = table.constFind(code);
    if (found == table.constEnd())
        return false;
    *text = *found;
    return true;
}

quint32 ErrorFromErrno(int error)
{
    switch (error) {
    case 0: return ErrorSuccess;
    case ENOENT: return ErrorFileNotFound;
    case ENOTDIR: return ErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return ErrorAccessDenied;
    case EBADF: return ErrorInvalidHandle;
    case ENOMEM: return ErrorNotEnoughMemory;
    case EBUSY:
    case ETXTBSY: return ErrorSharingViolation;
    case EEXIST: return ErrorFileExists;
    case EINVAL: return ErrorInvalidParameter;
    case ENOSPC: return ErrorDiskFull;
    case ENAMETOOLONG: return ErrorInvalidName;
    default: return ErrorWriteFault;
    }
}

} // namespace platform
