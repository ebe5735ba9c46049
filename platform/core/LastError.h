#pragma once
// The calling thread's last-error code, as the Win32 calls the programs were written
// against report it, with the system's text for each code the stand-ins set.
#include <QString>
#include <QtGlobal>

namespace platform {

// Codes (and their meaning) as the programs compare and log them.
enum ErrorCode : quint32 {
    ErrorSuccess = 0,
    ErrorFileNotFound = 2,
    ErrorPathNotFound = 3,
    ErrorAccessDenied = 5,
    ErrorInvalidHandle = 6,
    ErrorNotEnoughMemory = 8,
    ErrorInvalidData = 13,
    ErrorWriteFault = 29,
    ErrorReadFault = 30,
    ErrorSharingViolation = 32,
    ErrorFileExists = 80,
    ErrorInvalidParameter = 87,
    ErrorDiskFull = 112,
    ErrorInsufficientBuffer = 122,
    ErrorInvalidName = 123,
    ErrorInvalidLevel = 124,
    ErrorModNotFound = 126,
    ErrorProcNotFound = 127,
    ErrorAlreadyExists = 183,
    ErrorBadExeFormat = 193,
    ErrorNoMoreItems = 259,
    ErrorBadDatabase = 1009,
    ErrorInvalidServiceControl = 1052,
    ErrorServiceRequestTimeout = 1053,
    ErrorServiceAlreadyRunning = 1056,
    ErrorServiceDoesNotExist = 1060,
    ErrorServiceCannotAcceptControl = 1061,
    ErrorServiceNotActive = 1062,
    ErrorRpcServerUnavailable = 1722,
    ErrorUnknownPort = 1796,
    ErrorUnknownPrinterDriver = 1797,
    ErrorUnknownPrintProcessor = 1798,
    ErrorInvalidPrinterName = 1801,
    ErrorPrinterAlreadyExists = 1802,
    ErrorInvalidEnvironment = 1805,
    ErrorPrinterDeleted = 1905,
    ErrorUnknownPrintMonitor = 3000,
    ErrorPrinterDriverInUse = 3001,
    ErrorPrintMonitorAlreadyInstalled = 3006,
    ErrorInvalidPrintMonitor = 3007,
    ErrorPrintMonitorInUse = 3008,
};

quint32 GetLastError();
void SetLastError(quint32 code);

// The system's message text for a code, without a trailing line break. False when the
// system has no text for the code (the text is then left untouched).
bool SystemErrorText(quint32 code, QString* text);

// The code that stands for a C library errno value (file operations).
quint32 ErrorFromErrno(int error);

} // namespace platform
