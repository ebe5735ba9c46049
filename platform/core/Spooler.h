#pragma once
// The print spooler: port monitors, printer drivers and printers, kept in a state file
// under the platform root, with the call shapes and last-error codes of the Win32 print
// spooler. Every call needs the "spooler" service running (else ErrorRpcServerUnavailable)
// and sets the last error (0 on success). Environments are "Windows x64",
// "Windows NT x86", "Windows IA64" and "Windows ARM64"; an empty environment means the
// machine's own.
#include "platform/core/PrinterHandle.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace platform {

enum PrinterAccessRight : quint32 {
    PrinterAccessAdminister = 0x00000004,
    PrinterAccessUse = 0x00000008,
    PrinterAccessDelete = 0x00010000,
    PrinterAllAccess = 0x000F000C,
};

enum PrinterAttribute : quint32 {
    PrinterAttributeQueued = 0x00000001,
    PrinterAttributeDirect = 0x00000002,
    PrinterAttributeDefault = 0x00000004,
    PrinterAttributeShared = 0x00000008,
    PrinterAttributeLocal = 0x00000040,
    PrinterAttributeEnableDevq = 0x00000080,
    PrinterAttributeKeepPrintedJobs = 0x00000100,
    PrinterAttributeDoCompleteFirst = 0x00000200,
    PrinterAttributeEnableBidi = 0x00000800,
};

enum DriverCopyFlag : quint32 {
    DriverCopyAllFiles = 0x00000004, // copy every file, replacing installed ones
    DriverCopyNewFiles = 0x00000008, // copy files newer than the installed ones
};

enum DriverDeleteFlag : quint32 {
    DriverDeleteUnusedFiles = 0x00000001,
    DriverDeleteSpecificVersion = 0x00000002,
    DriverDeleteAllFiles = 0x00000004,
};

struct MonitorInfo1 {
    QString name;
};

struct MonitorInfo2 {
    QString name;
    QString environment;
    QString dllName; // a library in the system folder
};

struct DriverInfo6 {
    quint32 version = 0;
    QString name;
    QString environment;
    QString driverPath;
    QString dataFile;
    QString configFile;
    QString helpFile;
    QStringList dependentFiles; // file names beside the driver, or full paths
    QString monitorName;
    QString defaultDataType;
    QStringList previousNames;
    qint64 driverDate = 0;
    quint64 driverVersion = 0;
    QString manufacturer;
    QString oemUrl;
    QString hardwareId;
    QString provider;
};

// A null QString stands for an absent text.
struct PrinterInfo2 {
    QString serverName;
    QString printerName;
    QString shareName;
    QString portName;
    QString driverName;
    QString comment;
    QString location;
    QByteArray devMode;
    QString sepFile;
    QString printProcessor;
    QString dataType;
    QString parameters;
    quint32 attributes = 0;
    quint32 priority = 0;
    quint32 defaultPriority = 0;
    quint32 startTime = 0;
    quint32 untilTime = 0;
    quint32 status = 0;
    quint32 jobs = 0;
    quint32 averagePpm = 0;
};

struct PrinterDefaults {
    QString dataType;
    quint32 desiredAccess = 0;
};

// The environment of this machine: "Windows x64" on 64-bit machines, else "Windows NT x86".
QString NativeEnvironment();

// Monitors. `bufferSize` is the room the caller offers for the level-1 records, counted
// as the Win32 call counts it; ErrorInsufficientBuffer when they do not fit.
bool EnumMonitors(QList<MonitorInfo1>* monitors, qsizetype bufferSize);
bool AddMonitor(const MonitorInfo2& monitor);
bool DeleteMonitor(const QString& environment, const QString& name);
// Every port the added monitors offer.
bool EnumPorts(QStringList* ports);

// Drivers.
bool GetPrinterDriverDirectory(const QString& environment, QString* directory);
bool AddPrinterDriverEx(const DriverInfo6& driver, quint32 copyFlags);
bool EnumPrinterDrivers(const QString& environment, QList<DriverInfo6>* drivers);
bool DeletePrinterDriverEx(const QString& environment, const QString& driverName,
                           quint32 deleteFlags, quint32 version);

// Printers. AddPrinter returns a handle with full access, null on failure.
PrinterHandle AddPrinter(const PrinterInfo2& printer);
// `name` is a printer name or "printer,Job N" for one of its jobs. Without defaults the
// handle may use the printer.
bool OpenPrinter(const QString& name, PrinterHandle* handle, const PrinterDefaults* defaults = nullptr);
bool GetPrinter(PrinterHandle handle, PrinterInfo2* printer);
bool SetPrinter(PrinterHandle handle, const PrinterInfo2& printer);
bool GetPrinterDriver(PrinterHandle handle, const QString& environment, DriverInfo6* driver);
bool DeletePrinter(PrinterHandle handle);
bool ClosePrinter(PrinterHandle handle);

// Where the spooler keeps a printer's jobs, one file per job: "<id>.spl" in the printer's
// job folder. The folder goes with the printer.
QString SpoolJobFolder(const QString& printerName);
QString SpoolJobFile(const QString& printerName, quint32 jobId);

} // namespace platform
