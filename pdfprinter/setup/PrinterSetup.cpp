#include "pdfprinter/setup/PrinterSetup.h"

#include "pdfprinter/setup/CupsQueue.h"
#include "platform/core/FileCopy.h"
#include "platform/core/KnownFolders.h"
#include "platform/core/LastError.h"
#include "platform/core/LoginRunOnce.h"
#include "platform/core/ProcessStatus.h"
#include "platform/core/Registry.h"
#include "platform/core/ServiceControl.h"
#include "platform/core/Spooler.h"
#include "platform/core/SystemInfo.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

using namespace platform;

namespace {

const QString kPrinterName = QStringLiteral("Corvel PDF");
const QString kDriverName = QStringLiteral("Corvel PDF");
const QString kEnvironmentX64 = QStringLiteral("Windows x64");
const QString kEnvironmentX86 = QStringLiteral("Windows NT x86");
const QString kMonitorName = QStringLiteral("Corvel PDF Port Monitor");
const QString kPortName = QStringLiteral("Corvel PDF Port");
const QString kPrintProcessor = QStringLiteral("WinPrint");

const QString kDriverFile = QStringLiteral("KVXE2PPRDRV.dll");
const QString kDriverUiFile = QStringLiteral("KVXE2PPRUI.dll");
const QString kConverterFile = QStringLiteral("KVXE2PPRCONV.exe");
const QString kTranscoderFile = QStringLiteral("KVXE2PT32.dll");
const QString kMonitorFile = QStringLiteral("KVXE2PPRMON.dll");

const QString kProductKey = QStringLiteral("SOFTWARE\\Kvx\\Shared\\Install Information\\Pressa2007");
const QString kRunOnceKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce");
const QString kRetryValue = QStringLiteral("PDF_driver");
const QString kSetupProgram = QStringLiteral("pdfsetup");

const QString kMonitorBanner = QStringLiteral("--------------------------------- Start AddMonitor -----");
const QString kMonitorEndBanner = QStringLiteral("--------------------------------- End   AddMonitor -----");

constexpr quint32 kAttributesCleared =
    PrinterAttributeDirect | PrinterAttributeEnableDevq | PrinterAttributeDoCompleteFirst; // 0x282
constexpr quint32 kAttributesSet =
    PrinterAttributeQueued | PrinterAttributeKeepPrintedJobs | PrinterAttributeEnableBidi; // 0x901

constexpr qsizetype kMonitorBufferSize = 4096;
constexpr qsizetype kMaxProcesses = 1024;
constexpr qsizetype kMaxModules = 1024;
// Pause between two looks at a stopping spooler, so the wait does not spin a core.
constexpr int kStopPollMs = 10;

QString Join(const QString& folder, const QString& name) { return folder + QLatin1Char('/') + name; }

} // namespace

CPrinterSetup::CPrinterSetup()
{
    m_nStatus = SETUP_OK;
    // A pending retry is dropped at every start: this run is the retry.
    Registry::deleteValue(RegistryHive::LocalMachine, kRunOnceKey, kRetryValue);
    CancelAtLogin(kRetryValue);
    m_strPrinterName = kPrinterName;
    m_strDriverName = kDriverName;
    m_strEnvironment = EnvironmentFor(NativeProcessorArchitecture());
    m_log.Write(m_strEnvironment);
}

QString CPrinterSetup::EnvironmentFor(quint16 processorArchitecture)
{
    switch (processorArchitecture) {
    case ProcessorArchitectureIa64:
    case ProcessorArchitectureAmd64:
    case ProcessorArchitectureIa32OnWin64:
    case ProcessorArchitectureArm64:
        return kEnvironmentX64;
    default:
        return kEnvironmentX86;
    }
}

void CPrinterSetup::SetSourceFolder(const QString& folder)
{
    m_strSourceFolder = folder;
    LogSourceFolder();
}

void CPrinterSetup::SetSourceFolderFromProduct()
{
    QString productFolder;
    Registry::readText(RegistryHive::LocalMachine, kProductKey, QStringLiteral("Path"), &productFolder);
    m_strSourceFolder = productFolder + QStringLiteral("PDF");
    m_log.Write(QStringLiteral("Get Source Path - %Windows Folder%PDF"));
    LogSourceFolder();
}

void CPrinterSetup::LogSourceFolder()
{
    m_log.Write(QStringLiteral("Source Path"));
    m_log.Write(m_strSourceFolder);
}

QString CPrinterSetup::SourceFile(const QString& fileName) const
{
    const QString sub = m_strEnvironment == kEnvironmentX64 ? QStringLiteral("x64") : QStringLiteral("x86");
    return Join(Join(m_strSourceFolder, sub), fileName);
}

void CPrinterSetup::InstallPrinter()
{
    LogInstalledState();
    m_nStatus = SETUP_OK;
    // Each step runs even when an earlier one failed; the retry covers them all.
    CopyDriverFiles();
    AddPortMonitor();
    AddDriver();
    AddPdfPrinter();
    if (m_nStatus == SETUP_INSTALL_FAILED) {
        ScheduleRetry();
    } else {
        CheckLoadedModules();
        RestartSpooler();
    }
    // Linux applications reach the printer through CUPS.
    CCupsQueue(m_log).Add(m_strSourceFolder);
}

void CPrinterSetup::ReinstallPrinter()
{
    UninstallPrinter();
    InstallPrinter();
}

void CPrinterSetup::UninstallPrinter()
{
    m_nStatus = SETUP_REMOVING;
    PrinterHandle printer = nullptr;
    const PrinterDefaults fullAccess {QString(), PrinterAllAccess};
    if (OpenPrinter(m_strPrinterName, &printer, &fullAccess)) {
        if (!DeletePrinter(printer))
            m_nStatus = SETUP_REMOVE_FAILED;
        m_log.WriteError(QStringLiteral("Uninstall - DeletePrinter()"), GetLastError());
        ClosePrinter(printer);
    } else {
        m_log.WriteError(QStringLiteral("Uninstall - DeletePrinter() - Not Open Printer"), GetLastError());
    }

    if (!DeletePrinterDriverEx(m_strEnvironment, m_strDriverName,
                               DriverDeleteSpecificVersion | DriverDeleteAllFiles, 3))
        m_nStatus = SETUP_REMOVE_FAILED;
    m_log.WriteError(QStringLiteral("Uninstall - DeletePrinterDriver()"), GetLastError());

    // The monitor DLL stays in the system folder; only its registration goes.
    DeleteMonitor(m_strEnvironment, kMonitorName);
    m_log.WriteError(QStringLiteral("Uninstall - Delete Monitor Port()"), GetLastError());

    if (m_nStatus == SETUP_REMOVE_FAILED)
        ScheduleRetry();
    CCupsQueue(m_log).Remove();
}

bool CPrinterSetup::CopyDriverFiles()
{
    QString driverDirectory;
    const bool haveDirectory = GetPrinterDriverDirectory(m_strEnvironment, &driverDirectory);
    const quint32 directoryError = GetLastError();
    m_log.Write(QStringLiteral("Copy to GetPrinterDriverDirectory"));
    m_log.Write(driverDirectory);
    if (!haveDirectory) {
        // Without the directory every destination would be a bare file name at the root.
        m_log.WriteError(QStringLiteral("Copy File Error"), directoryError);
        m_nStatus = SETUP_INSTALL_FAILED;
        return false;
    }
    for (const QString& file : {kDriverFile, kDriverUiFile, kConverterFile, kTranscoderFile}) {
        const QString destination = Join(driverDirectory, file);
        const QString source = SourceFile(file);
        if (!CopyFile(source, destination, false)) {
            m_log.WriteError(QStringLiteral("Copy File Error"), GetLastError());
            m_log.Write(destination);
            m_log.Write(source);
            m_nStatus = SETUP_INSTALL_FAILED;
            return false;
        }
    }
    return true;
}

void CPrinterSetup::AddPortMonitor()
{
    m_log.Write(kMonitorBanner);
    QList<MonitorInfo1> monitors;
    if (!EnumMonitors(&monitors, kMonitorBufferSize)) {
        m_log.WriteError(QStringLiteral("----- 등록된 모니터 포트 가져오기 실패"), GetLastError());
        return;
    }
    for (const MonitorInfo1& monitor : monitors) {
        if (monitor.name == kMonitorName) {
            m_log.Write(QStringLiteral("이미 등록된 모니터 포트 입니다."));
            return;
        }
    }
    m_log.Write(QStringLiteral("위에 등록된 모니터 포트 메세지가 없다면 등록해야 하는 상황임"));

    QString source;
    if (m_strEnvironment == kEnvironmentX64 || m_strEnvironment == kEnvironmentX86) {
        const bool is64 = m_strEnvironment == kEnvironmentX64;
        source = Join(Join(m_strSourceFolder, is64 ? QStringLiteral("x64") : QStringLiteral("x86")), kMonitorFile);
        // The monitor belongs in the real system folder, also for a 32-bit installer.
        void* redirection = nullptr;
        if (is64 && !Wow64DisableWow64FsRedirection(&redirection))
            return;
        const QString destination = Join(SystemFolder(), kMonitorFile);
        m_log.Write(destination);
        const bool copied = CopyFile(source, destination, false);
        const quint32 copyError = GetLastError();
        // Redirection is switched back on also after a failed copy.
        if (is64 && !Wow64RevertWow64FsRedirection(redirection))
            return;
        if (!copied) {
            m_log.WriteError(QStringLiteral("----- 모니터 포트 복사 실패"), copyError);
            return;
        }
    } else {
        m_log.Write(QStringLiteral("----- 설치된 PC의 환경을 확인할 수 없습니다"));
    }

    m_log.Write(source);
    m_log.Write(m_strEnvironment);
    if (AddMonitor({kMonitorName, m_strEnvironment, kMonitorFile}))
        m_log.Write(kMonitorEndBanner);
    else
        m_log.WriteError(QStringLiteral("----- 모니터 포트 등록 실패"), GetLastError());
}

bool CPrinterSetup::AddDriver()
{
    QString driverDirectory;
    GetPrinterDriverDirectory(m_strEnvironment, &driverDirectory);
    DriverInfo6 driver;
    driver.version = 3;
    driver.name = m_strDriverName;
    driver.environment = m_strEnvironment;
    driver.driverPath = Join(driverDirectory, kDriverFile);
    driver.dataFile = Join(driverDirectory, kDriverFile);
    driver.configFile = Join(driverDirectory, kDriverUiFile);
    driver.dependentFiles = {kConverterFile, kTranscoderFile};
    driver.defaultDataType = QStringLiteral("RAW");
    driver.manufacturer = QStringLiteral("Corvel");
    const bool added = AddPrinterDriverEx(driver, DriverCopyAllFiles);
    m_log.WriteError(QStringLiteral("Install - AddPrinterDriver()"), GetLastError());
    if (!added)
        m_nStatus = SETUP_INSTALL_FAILED;
    return added;
}

bool CPrinterSetup::AddPdfPrinter()
{
    PrinterInfo2 record;
    record.printerName = m_strPrinterName;
    record.portName = kPortName;
    record.driverName = m_strDriverName;
    record.printProcessor = kPrintProcessor;
    PrinterHandle printer = AddPrinter(record);
    m_log.WriteError(QStringLiteral("Install - AddPrinter()"), GetLastError());
    m_log.Write(record.portName);
    m_log.Write(record.driverName);
    m_log.Write(record.printerName);
    m_log.Write(record.serverName.isNull() ? QStringLiteral("(null)") : record.serverName);
    if (!printer) {
        m_nStatus = SETUP_INSTALL_FAILED;
        return false;
    }

    PrinterInfo2 installed;
    if (GetPrinter(printer, &installed)) {
        const quint32 attributes = (installed.attributes & ~kAttributesCleared) | kAttributesSet;
        if (attributes != installed.attributes) {
            installed.attributes = attributes;
            PrinterHandle admin = nullptr;
            const PrinterDefaults fullAccess {QString(), PrinterAllAccess};
            if (OpenPrinter(m_strPrinterName, &admin, &fullAccess)) {
                SetPrinter(admin, installed);
                ClosePrinter(admin);
            }
        }
    }
    ClosePrinter(printer);
    return true;
}

void CPrinterSetup::CheckLoadedModules()
{
    if (!ScanProcessModules(kDriverFile + QLatin1Char('\n') + kDriverUiFile))
        return;
    // Old driver modules are still loaded somewhere: have the next logon finish the job.
    Registry::writeText(RegistryHive::LocalMachine, kRunOnceKey, kRetryValue, QString());
    m_log.WriteError(QStringLiteral("Registry RunOnce"), GetLastError());
    m_log.Write(QStringLiteral("Version is not equal."));
}

bool CPrinterSetup::ScanProcessModules(const QString& names)
{
    // Entries naming programs (".exe") are process names; only module names are matched.
    QStringList moduleNames;
    for (const QString& entry : names.split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts)) {
        if (!entry.contains(QLatin1String(".exe")))
            moduleNames.append(entry.toLower());
    }

    QList<ProcessId> processes;
    if (!EnumProcesses(&processes, kMaxProcesses))
        return true;
    QFile list(Join(TempFolder(), QStringLiteral("ProcessList.txt")));
    if (!list.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    list.write(QString::asprintf("\n--------------------------------------- [%d.%d.%d-%d:%d:%d]",
                                 now.date().year(), now.date().month(), now.date().day(), now.time().hour(),
                                 now.time().minute(), now.time().second())
                   .toLocal8Bit());

    for (const ProcessId id : processes) {
        ProcessHandle process;
        QList<ModuleHandle> modules;
        if (!OpenProcess(id, &process) || !process.enumModules(&modules, kMaxModules))
            continue;
        for (const ModuleHandle module : modules) {
            QString fileName;
            if (!process.moduleFileName(module, &fileName))
                break;
            fileName = fileName.toLower();
            for (const QString& moduleName : moduleNames) {
                if (fileName.contains(moduleName)) {
                    list.write(QString::asprintf("\nMatchingModule : %s (0x%08llX)",
                                                 fileName.toLocal8Bit().constData(),
                                                 static_cast<unsigned long long>(module))
                                   .toLocal8Bit());
                    return true;
                }
            }
        }
    }
    return false;
}

void CPrinterSetup::ScheduleRetry()
{
    QString folder;
    if (!Registry::readText(RegistryHive::LocalMachine, kProductKey, QStringLiteral("Path"), &folder))
        folder = QDir::currentPath();
    const QString program = Join(folder, kSetupProgram);
    m_log.Write(QStringLiteral("Register set Source Path - "));
    QString retrySwitch;
    if (m_nStatus == SETUP_INSTALL_FAILED)
        retrySwitch = QStringLiteral("/r");
    else if (m_nStatus == SETUP_REMOVE_FAILED)
        retrySwitch = QStringLiteral("/u");
    else
        return;
    const QString command = program + u' ' + retrySwitch;

    // At most one retry per minute: the stored time is compared over its own length. No
    // stored time means no retry yet (a fresh machine), so one is scheduled.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QString thisMinute = QString::asprintf("%d.%d.%d-%d:%d\n", now.date().year(), now.date().month(),
                                                 now.date().day(), now.time().hour(), now.time().minute());
    QString lastTime;
    Registry::readText(RegistryHive::LocalMachine, kProductKey, QStringLiteral("LastTime"), &lastTime);
    if (lastTime.isEmpty() || lastTime != thisMinute.left(lastTime.size())) {
        Registry::writeText(RegistryHive::LocalMachine, kProductKey, QStringLiteral("LastTime"), thisMinute);
        Registry::writeText(RegistryHive::LocalMachine, kRunOnceKey, kRetryValue, command);
        // The desktop runs it at the user's next login, as the logon runs RunOnce.
        ScheduleAtLogin(kRetryValue, program, {retrySwitch});
    }
    m_log.WriteError(QStringLiteral("Registry RunOnce"), GetLastError());
    m_log.Write(command);
}

void CPrinterSetup::RestartSpooler()
{
    m_log.Write(kMonitorBanner);
    ServiceHandle manager = OpenSCManager(GenericRead);
    if (!manager)
        return;
    ServiceHandle probe = OpenService(manager, QStringLiteral("spooler"), ServiceAllAccess);
    if (!probe) {
        CloseServiceHandle(manager);
        return;
    }
    CloseServiceHandle(probe);

    ServiceStatus status;
    ServiceHandle stopper = OpenService(manager, QStringLiteral("spooler"), GenericExecute);
    ControlService(stopper, ServiceControlStop, &status);
    m_log.WriteError(QStringLiteral("----- 서비스 중지"), GetLastError());
    CloseServiceHandle(stopper);

    // A spooler that never reports "stopped" must not hold the installer forever; the
    // start below is tried anyway.
    ServiceHandle asker = OpenService(manager, QStringLiteral("spooler"), ServiceInterrogate);
    QDeadlineTimer stopDeadline(m_spoolerWaitLimit);
    for (;;) {
        status = {};
        ControlService(asker, ServiceControlInterrogate, &status);
        if (status.currentState == ServiceStopped)
            break;
        if (stopDeadline.hasExpired()) {
            m_log.Write(QStringLiteral("----- 서비스 중지 대기 시간 초과"));
            break;
        }
        QThread::msleep(kStopPollMs);
    }
    CloseServiceHandle(asker);

    ServiceHandle starter = OpenService(manager, QStringLiteral("spooler"), ServiceStart | ServiceQueryStatus);
    if (StartService(starter)) {
        m_log.WriteError(QStringLiteral("---- 서비스 시작"), GetLastError());
        QDeadlineTimer startDeadline(m_spoolerWaitLimit);
        while (QueryServiceStatus(starter, &status) && status.waitHint != 0 && !startDeadline.hasExpired())
            QThread::msleep(qMin<qint64>(status.waitHint, qMax<qint64>(startDeadline.remainingTime(), 1)));
    }
    CloseServiceHandle(starter);
    CloseServiceHandle(manager);
    m_log.Write(kMonitorEndBanner);
}

void CPrinterSetup::LogInstalledState()
{
    // Only the log learns the outcome; a missing printer makes the later reads fail too.
    PrinterHandle printer = nullptr;
    if (!OpenPrinter(m_strPrinterName, &printer))
        m_log.WriteError(QStringLiteral("Isinstalled - OpenPrinter()"), GetLastError());
    PrinterInfo2 record;
    if (!GetPrinter(printer, &record))
        m_log.WriteError(QStringLiteral("Isinstalled - GetPrinter()"), GetLastError());
    DriverInfo6 driver;
    if (!GetPrinterDriver(printer, QString(), &driver))
        m_log.WriteError(QStringLiteral("Isinstalled - GetPrinterDriver()"), GetLastError());
    if (printer)
        ClosePrinter(printer);
}
