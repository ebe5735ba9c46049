#pragma once
// Installs, removes and reinstalls the "Corvel PDF" printer: the driver-side files, the
// port monitor, the driver and the printer, then a restart of the spooler. Every step is
// logged; a failed install or removal is retried at the next logon through RunOnce.
#include "pdfprinter/setup/SetupLog.h"

#include <QString>
#include <QtGlobal>

#include <chrono>

enum SetupStatus : quint32 {
    SETUP_OK = 0,
    SETUP_REMOVING = 1,
    SETUP_INSTALL_FAILED = 4,
    SETUP_REMOVE_FAILED = 8,
};

class CPrinterSetup {
public:
    // Opens the log, drops any pending retry and logs the environment.
    CPrinterSetup();

    // The source folder for "i" and "s": used as given.
    void SetSourceFolder(const QString& folder);
    // The source folder for "r": the product folder ("Path") followed by "PDF".
    void SetSourceFolderFromProduct();

    void InstallPrinter();
    void UninstallPrinter();
    void ReinstallPrinter();

    // The steps, in the order InstallPrinter runs them.
    void LogInstalledState();
    bool CopyDriverFiles();
    void AddPortMonitor();
    bool AddDriver();
    bool AddPdfPrinter();
    void CheckLoadedModules();
    // True when a running process has one of the listed modules (one name per line)
    // loaded, or when the processes cannot be listed.
    bool ScanProcessModules(const QString& names);
    void ScheduleRetry();
    void RestartSpooler();

    // How long RestartSpooler waits for the spooler to stop (and to finish starting).
    void SetSpoolerWaitLimit(std::chrono::milliseconds limit) { m_spoolerWaitLimit = limit; }

    quint32 GetStatus() const { return m_nStatus; }
    const QString& GetEnvironment() const { return m_strEnvironment; }
    const QString& GetSourceFolder() const { return m_strSourceFolder; }

    // "Windows x64" for 64-bit architectures (Win32 codes), else "Windows NT x86".
    static QString EnvironmentFor(quint16 processorArchitecture);

private:
    QString SourceFile(const QString& fileName) const;
    void LogSourceFolder();

    QString m_strSourceFolder;
    quint32 m_nStatus = SETUP_OK;
    CSetupLog m_log;
    QString m_strPrinterName;
    QString m_strDriverName;
    QString m_strEnvironment;
    std::chrono::milliseconds m_spoolerWaitLimit {30000};
};
