// Runs the real pdfsetup against a fresh platform root and compares its log and the
// machine state it leaves.
#include "SetupFixture.h"

#include "platform/core/KnownFolders.h"
#include "platform/core/LoginRunOnce.h"
#include "platform/core/Registry.h"
#include "platform/core/ServiceControl.h"
#include "platform/core/Spooler.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

using namespace platform;

namespace {

const QString kOk = "Error Message--0 --- The operation completed successfully.";

QString ThisMinute()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return QString::asprintf("%d.%d.%d-%d:%d\n", now.date().year(), now.date().month(), now.date().day(),
                             now.time().hour(), now.time().minute());
}

class PdfSetupEndToEnd : public SetupFixture {
protected:
    QStringList InstalledStateMissing() const
    {
        return {"-Isinstalled - OpenPrinter()", "Error Message--1801 --- The printer name is invalid.",
                "-Isinstalled - GetPrinter()", "Error Message--6 --- The handle is invalid.",
                "-Isinstalled - GetPrinterDriver()", "Error Message--6 --- The handle is invalid."};
    }
    QStringList SourceLines(const QString& folder) const { return {"-Source Path", "-" + folder}; }
    QStringList CopyLines() const { return {"-Copy to GetPrinterDriverDirectory", "-" + DriverDirectory()}; }
    QStringList MonitorAddedLines(const QString& folder) const
    {
        return {"---------------------------------- Start AddMonitor -----",
                "-위에 등록된 모니터 포트 메세지가 없다면 등록해야 하는 상황임",
                "-" + m_root + "/Windows/System32/KVXE2PPRMON.dll",
                "-" + folder + "/" + Sub() + "/KVXE2PPRMON.dll",
                "-" + Environment(),
                "---------------------------------- End   AddMonitor -----"};
    }
    QStringList PrinterLines(const QString& result) const
    {
        return {"-Install - AddPrinter()", result, "-Corvel PDF Port", "-Corvel PDF", "-Corvel PDF", "-(null)"};
    }
    QStringList RestartLines() const
    {
        return {"---------------------------------- Start AddMonitor -----", "------ 서비스 중지", kOk,
                "----- 서비스 시작", kOk, "---------------------------------- End   AddMonitor -----"};
    }
    // No print server in these tests: the CUPS queue is skipped, and says so.
    QStringList CupsLines() const
    {
        return {"-CUPS - no print server at " + m_temp + "/no-cups.sock"};
    }
    // `beforeRestart`: what the module check logs between the printer and the restart.
    QStringList FirstInstallLog(const QString& folder, const QStringList& beforeRestart = {}) const
    {
        return Header() + SourceLines(folder) + InstalledStateMissing() + CopyLines() + MonitorAddedLines(folder)
            + QStringList {"-Install - AddPrinterDriver()", kOk} + PrinterLines(kOk) + beforeRestart
            + RestartLines() + CupsLines();
    }
    QStringList SecondInstallLog(const QString& retryResult, const QString& command) const
    {
        return Header() + SourceLines(m_source) + CopyLines()
            + QStringList {"---------------------------------- Start AddMonitor -----",
                           "-이미 등록된 모니터 포트 입니다.", "-Install - AddPrinterDriver()", kOk}
            + PrinterLines("Error Message--1802 --- The printer already exists.")
            + QStringList {"-Register set Source Path - ", "-Registry RunOnce", retryResult, "-" + command}
            + CupsLines();
    }

    void InstallOnce()
    {
        ASSERT_EQ(RunSetup({"/i"}), 1);
        ASSERT_EQ(LastLogSection(), FirstInstallLog(m_source));
    }

    bool PrinterExists() const
    {
        PrinterHandle printer = nullptr;
        const bool open = OpenPrinter("Corvel PDF", &printer);
        if (open)
            ClosePrinter(printer);
        return open;
    }

    bool MonitorRegistered() const
    {
        QList<MonitorInfo1> monitors;
        EXPECT_TRUE(EnumMonitors(&monitors, 4096));
        for (const MonitorInfo1& monitor : monitors) {
            if (monitor.name == "Corvel PDF Port Monitor")
                return true;
        }
        return false;
    }

    QList<DriverInfo6> Drivers() const
    {
        QList<DriverInfo6> drivers;
        EXPECT_TRUE(EnumPrinterDrivers(Environment(), &drivers));
        return drivers;
    }
};

} // namespace

TEST_F(PdfSetupEndToEnd, WithoutASwitchOnlyTheHeaderIsWrittenAndThePendingRetryDropped)
{
    ASSERT_TRUE(Registry::writeText(RegistryHive::LocalMachine, kRunOnceKey, "PDF_driver", "old command /r"));
    // Switches are compared whole and case-sensitively.
    for (const QStringList& arguments : {QStringList {}, QStringList {"/I"}, QStringList {"-U"}, QStringList {"/in"},
                                         QStringList {"i"}, QStringList {"/s"}}) {
        EXPECT_EQ(RunSetup(arguments), 1);
        EXPECT_EQ(LastLogSection(), Header()) << arguments.join(' ').toStdString();
    }
    bool found = true;
    ReadValue(kRunOnceKey, "PDF_driver", &found);
    EXPECT_FALSE(found);
    EXPECT_FALSE(PrinterExists());
}

TEST_F(PdfSetupEndToEnd, FirstInstallCopiesRegistersAdjustsAndRestartsTheSpooler)
{
    InstallOnce();

    for (const char* file : {"KVXE2PPRDRV.dll", "KVXE2PPRUI.dll", "KVXE2PPRCONV.exe", "KVXE2PT32.dll"}) {
        EXPECT_TRUE(QFile::exists(DriverDirectory() + "/" + file)) << file;
        EXPECT_TRUE(QFile::exists(DriverDirectory() + "/3/" + file)) << file; // installed by the spooler
    }
    EXPECT_TRUE(MonitorRegistered());
    QStringList ports;
    ASSERT_TRUE(EnumPorts(&ports));
    EXPECT_EQ(ports, QStringList {"Corvel PDF Port"});

    const QList<DriverInfo6> drivers = Drivers();
    ASSERT_EQ(drivers.size(), 1);
    EXPECT_EQ(drivers[0].name, "Corvel PDF");
    EXPECT_EQ(drivers[0].version, 3u);
    EXPECT_EQ(drivers[0].driverPath, DriverDirectory() + "/3/KVXE2PPRDRV.dll");
    EXPECT_EQ(drivers[0].configFile, DriverDirectory() + "/3/KVXE2PPRUI.dll");
    EXPECT_EQ(drivers[0].dependentFiles,
              (QStringList {DriverDirectory() + "/3/KVXE2PPRCONV.exe", DriverDirectory() + "/3/KVXE2PT32.dll"}));
    EXPECT_EQ(drivers[0].manufacturer, "Corvel");
    EXPECT_EQ(drivers[0].defaultDataType, "RAW");

    PrinterHandle printer = nullptr;
    ASSERT_TRUE(OpenPrinter("Corvel PDF", &printer));
    PrinterInfo2 info;
    ASSERT_TRUE(GetPrinter(printer, &info));
    ClosePrinter(printer);
    EXPECT_EQ(info.portName, "Corvel PDF Port");
    EXPECT_EQ(info.driverName, "Corvel PDF");
    EXPECT_EQ(info.printProcessor, "WinPrint");
    // Queued, keep printed jobs, bidirectional, on top of the spooler's "local".
    EXPECT_EQ(info.attributes, 0x941u);

    EXPECT_EQ(CurrentServiceState("spooler"), quint32(ServiceRunning));
    bool found = true;
    ReadValue(kRunOnceKey, "PDF_driver", &found);
    EXPECT_FALSE(found);
    const QString processList = ReadTextFile(m_temp + "/ProcessList.txt");
    EXPECT_TRUE(processList.startsWith("\n--------------------------------------- ["));
    EXPECT_FALSE(processList.contains("MatchingModule"));
}

TEST_F(PdfSetupEndToEnd, MonitorLibraryLandsInTheRealSystemFolder)
{
    InstallOnce();
    const QString installed = m_root + "/Windows/System32/KVXE2PPRMON.dll";
    EXPECT_EQ(installed, SystemFolder() + "/KVXE2PPRMON.dll");
    QFile copy(installed);
    QFile original(m_source + "/" + Sub() + "/KVXE2PPRMON.dll");
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), original.readAll());
    EXPECT_FALSE(QFileInfo::exists(m_root + "/Windows/SysWOW64/KVXE2PPRMON.dll"));
}

TEST_F(PdfSetupEndToEnd, SecondInstallSchedulesARetryUnlessLastTimeHoldsThisMinute)
{
    InstallOnce();
    const QString product = m_dir.path() + "/product/";
    ASSERT_TRUE(Registry::writeText(RegistryHive::LocalMachine, kProductKey, "Path", product));
    const QString command = product + "/pdfsetup /r";

    // No stored time (a fresh machine, without even the run-once key), a time of another
    // minute, then the time the retry itself stored.
    enum class Stored { None, OtherMinute, SameMinute };
    const struct {
        Stored stored;
        bool writes;
    } cases[] = {
        {Stored::None, true},
        {Stored::OtherMinute, true},
        {Stored::SameMinute, false},
    };
    ASSERT_FALSE(Registry::keyExists(RegistryHive::LocalMachine, kRunOnceKey));
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.stored));
        Registry::deleteValue(RegistryHive::LocalMachine, kProductKey, "LastTime");
        // A run that straddles a minute boundary cannot show the same-minute rule; repeat it.
        for (int attempt = 0; attempt < 3; ++attempt) {
            const QString before = ThisMinute();
            if (c.stored == Stored::OtherMinute)
                Registry::writeText(RegistryHive::LocalMachine, kProductKey, "LastTime", "2000.1.1-0:0\n");
            if (c.stored == Stored::SameMinute)
                Registry::writeText(RegistryHive::LocalMachine, kProductKey, "LastTime", before);
            ASSERT_EQ(RunSetup({"/i"}), 1);
            if (before == ThisMinute() || c.stored != Stored::SameMinute)
                break;
        }
        EXPECT_EQ(LastLogSection(), SecondInstallLog(kOk, command));
        bool found = false;
        const QString retry = ReadValue(kRunOnceKey, "PDF_driver", &found);
        EXPECT_EQ(found, c.writes);
        if (c.writes) {
            EXPECT_EQ(retry, command);
            EXPECT_TRUE(ReadValue(kProductKey, "LastTime").endsWith("\n"));
            EXPECT_NE(ReadValue(kProductKey, "LastTime"), "2000.1.1-0:0\n");
        }
    }
    // Nothing was restarted or undone by the failed reinstall.
    EXPECT_TRUE(PrinterExists());
}

TEST_F(PdfSetupEndToEnd, UninstallWithoutThePrinterStillRemovesDriverAndMonitor)
{
    InstallOnce();
    PrinterHandle printer = nullptr;
    const PrinterDefaults all {QString(), PrinterAllAccess};
    ASSERT_TRUE(OpenPrinter("Corvel PDF", &printer, &all));
    ASSERT_TRUE(DeletePrinter(printer));
    ClosePrinter(printer);

    ASSERT_EQ(RunSetup({"/u"}), 1);
    EXPECT_EQ(LastLogSection(), (Header()
                  + QStringList {"-Uninstall - DeletePrinter() - Not Open Printer",
                                 "Error Message--1801 --- The printer name is invalid.",
                                 "-Uninstall - DeletePrinterDriver()", kOk, "-Uninstall - Delete Monitor Port()", kOk}
                  + CupsLines()));
    EXPECT_TRUE(Drivers().isEmpty());
    EXPECT_FALSE(QFile::exists(DriverDirectory() + "/3/KVXE2PPRDRV.dll"));
    EXPECT_FALSE(MonitorRegistered());
    EXPECT_TRUE(QFile::exists(SystemFolder() + "/KVXE2PPRMON.dll")); // left in place
    bool found = true;
    ReadValue(kRunOnceKey, "PDF_driver", &found);
    EXPECT_FALSE(found);
}

TEST_F(PdfSetupEndToEnd, UninstallOfAnInstalledPrinterRemovesEverything)
{
    InstallOnce();
    ASSERT_EQ(RunSetup({"-u"}), 1);
    EXPECT_EQ(LastLogSection(), (Header()
                  + QStringList {"-Uninstall - DeletePrinter()", kOk, "-Uninstall - DeletePrinterDriver()", kOk,
                                 "-Uninstall - Delete Monitor Port()", kOk}
                  + CupsLines()));
    EXPECT_FALSE(PrinterExists());
    EXPECT_TRUE(Drivers().isEmpty());
    EXPECT_FALSE(MonitorRegistered());
}

TEST_F(PdfSetupEndToEnd, FailedUninstallSchedulesAnUninstallRetry)
{
    const QString product = m_dir.path() + "/product/";
    ASSERT_TRUE(Registry::writeText(RegistryHive::LocalMachine, kProductKey, "Path", product));
    ASSERT_TRUE(Registry::writeText(RegistryHive::LocalMachine, kProductKey, "LastTime", "2000.1.1-0:0\n"));
    ASSERT_EQ(RunSetup({"/u"}), 1);
    EXPECT_EQ(LastLogSection(), (Header()
                  + QStringList {"-Uninstall - DeletePrinter() - Not Open Printer",
                                 "Error Message--1801 --- The printer name is invalid.",
                                 "-Uninstall - DeletePrinterDriver()",
                                 "Error Message--1797 --- The printer driver is unknown.",
                                 "-Uninstall - Delete Monitor Port()",
                                 "Error Message--3000 --- The specified print monitor is unknown.",
                                 "-Register set Source Path - ", "-Registry RunOnce", kOk,
                                 "-" + product + "/pdfsetup /u"}
                  + CupsLines()));
    EXPECT_EQ(ReadValue(kRunOnceKey, "PDF_driver"), product + "/pdfsetup /u");
}

TEST_F(PdfSetupEndToEnd, AScheduledRetryRunsOnceAtTheNextLogin)
{
    // A product folder with characters the autostart entry must quote, and a stand-in
    // installer that notes how it was started.
    const QString product = m_dir.path() + "/product dir $HOME \"x\" 100%";
    QDir().mkpath(product);
    const QString calls = m_dir.path() + "/calls.txt";
    {
        QFile stand(product + "/pdfsetup");
        ASSERT_TRUE(stand.open(QIODevice::WriteOnly));
        stand.write("#!/bin/sh\necho \"$@\" >> '" + QFile::encodeName(calls) + "'\n");
        stand.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    ASSERT_TRUE(Registry::writeText(RegistryHive::LocalMachine, kProductKey, "Path", product));
    ASSERT_TRUE(Registry::writeText(RegistryHive::LocalMachine, kProductKey, "LastTime", "2000.1.1-0:0\n"));
    ASSERT_EQ(RunSetup({"/u"}), 1);
    const QString entry = platform::LoginRunOnceEntry("PDF_driver");
    ASSERT_TRUE(QFile::exists(entry));

    // The desktop's own reading of the entry, as at login.
    QProcess login;
    login.start("gio", {"launch", entry});
    ASSERT_TRUE(login.waitForFinished(30000));
    ASSERT_EQ(login.exitCode(), 0) << login.readAllStandardError().constData();
    QDeadlineTimer deadline(30000);
    while (!QFile::exists(calls) && !deadline.hasExpired())
        QThread::msleep(20);
    EXPECT_EQ(ReadTextFile(calls), "/u\n");
    EXPECT_FALSE(QFile::exists(entry)); // once only

    // A run of the installer drops a retry still pending, as it drops the value.
    ASSERT_TRUE(Registry::writeText(RegistryHive::LocalMachine, kProductKey, "LastTime", "2000.1.1-0:0\n"));
    ASSERT_EQ(RunSetup({"/u"}), 1);
    ASSERT_TRUE(QFile::exists(entry));
    ASSERT_EQ(RunSetup({}), 1);
    EXPECT_FALSE(QFile::exists(entry));
}

TEST_F(PdfSetupEndToEnd, LoadedDriverModuleEmptiesTheRetryValueAndStillRestarts)
{
    // This test process stands for a program that still has the old driver loaded.
    const QString loaded = m_dir.path() + "/Old Driver/KVXE2PPRDRV.dll";
    QDir().mkpath(QFileInfo(loaded).absolutePath());
    ASSERT_TRUE(QFile::copy(QStringLiteral(KVX_BIN_DIR "/x64/KVXE2PPRDRV.dll"), loaded));
    QFile module(loaded);
    ASSERT_TRUE(module.open(QIODevice::ReadOnly));
    uchar* mapped = module.map(0, module.size());
    ASSERT_NE(mapped, nullptr);

    const int status = RunSetup({"/i"});
    module.unmap(mapped);
    ASSERT_EQ(status, 1);

    EXPECT_EQ(LastLogSection(), (FirstInstallLog(m_source, {"-Registry RunOnce", kOk, "-Version is not equal."})));

    bool found = false;
    EXPECT_EQ(ReadValue(kRunOnceKey, "PDF_driver", &found), "");
    EXPECT_TRUE(found);
    const QString processList = ReadTextFile(m_temp + "/ProcessList.txt");
    EXPECT_TRUE(processList.contains("\nMatchingModule : " + loaded.toLower() + " (0x")) << processList.toStdString();
    EXPECT_TRUE(PrinterExists());
    EXPECT_EQ(CurrentServiceState("spooler"), quint32(ServiceRunning));
}

TEST_F(PdfSetupEndToEnd, MissingDriverSideFileFailsTheInstallAndSchedulesAReinstall)
{
    QFile::remove(m_source + "/" + Sub() + "/KVXE2PPRCONV.exe");
    const QString product = m_dir.path() + "/product/";
    ASSERT_TRUE(Registry::writeText(RegistryHive::LocalMachine, kProductKey, "Path", product));
    ASSERT_TRUE(Registry::writeText(RegistryHive::LocalMachine, kProductKey, "LastTime", "1999.1.1-0:0\n"));
    ASSERT_EQ(RunSetup({"/i"}), 1);
    const QString missing = "Error Message--2 --- The system cannot find the file specified.";
    EXPECT_EQ(LastLogSection(), (Header() + SourceLines(m_source) + InstalledStateMissing() + CopyLines()
                  + QStringList {"-Copy File Error", missing, "-" + DriverDirectory() + "/KVXE2PPRCONV.exe",
                                 "-" + m_source + "/" + Sub() + "/KVXE2PPRCONV.exe"}
                  + MonitorAddedLines(m_source) + QStringList {"-Install - AddPrinterDriver()", missing}
                  + PrinterLines("Error Message--1797 --- The printer driver is unknown.")
                  + QStringList {"-Register set Source Path - ", "-Registry RunOnce", kOk,
                                 "-" + product + "/pdfsetup /r"}
                  + CupsLines()));
    EXPECT_EQ(ReadValue(kRunOnceKey, "PDF_driver"), product + "/pdfsetup /r");
    EXPECT_FALSE(PrinterExists());
    EXPECT_TRUE(MonitorRegistered()); // the monitor step does not depend on the copies
}

TEST_F(PdfSetupEndToEnd, FolderSwitchInstallsFromTheGivenFolder)
{
    // "/s /<folder>": the folder is everything after "s /", so an absolute path keeps its "/".
    ASSERT_EQ(RunSetup({"/s /" + m_source}, m_temp), 1);
    EXPECT_EQ(LastLogSection(), FirstInstallLog(m_source));
}

TEST_F(PdfSetupEndToEnd, ReinstallUsesTheProductFolderAndRemovesFirst)
{
    InstallOnce();
    const QString product = m_dir.path() + "/product/";
    ASSERT_TRUE(QDir().mkpath(product));
    ASSERT_TRUE(QDir().rename(m_source, product + "PDF"));
    ASSERT_TRUE(Registry::writeText(RegistryHive::LocalMachine, kProductKey, "Path", product));
    ASSERT_EQ(RunSetup({"/r"}, m_temp), 1);
    const QString folder = product + "PDF";
    EXPECT_EQ(LastLogSection(), (Header() + QStringList {"-Get Source Path - %Windows Folder%PDF"} + SourceLines(folder)
                  + QStringList {"-Uninstall - DeletePrinter()", kOk, "-Uninstall - DeletePrinterDriver()", kOk,
                                 "-Uninstall - Delete Monitor Port()", kOk}
                  + CupsLines() + FirstInstallLog(folder).mid(5)));
    EXPECT_TRUE(PrinterExists());
    EXPECT_TRUE(MonitorRegistered());
}

// The log is appended to: each run adds its section after those of earlier runs.
TEST_F(PdfSetupEndToEnd, TheLogKeepsTheSectionsOfEarlierRuns)
{
    {
        QFile log(m_temp + "/PrinterSetup.log");
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
        log.write("an earlier run's line\n");
    }
    InstallOnce();
    ASSERT_EQ(RunSetup({}), 1);
    const QString log = ReadTextFile(m_temp + "/PrinterSetup.log");
    EXPECT_TRUE(log.startsWith("an earlier run's line\n---------------Start\n")) << log.left(200).toStdString();
    EXPECT_EQ(log.count("---------------Start\n"), 2);
    EXPECT_EQ(LastLogSection(), Header());
}

// A log that cannot be opened (here a folder stands in its place) costs the log, not the install.
TEST_F(PdfSetupEndToEnd, ALogThatCannotBeOpenedDoesNotStopTheInstall)
{
    ASSERT_TRUE(QDir().mkpath(m_temp + "/PrinterSetup.log"));
    ASSERT_EQ(RunSetup({"/i"}), 1);
    EXPECT_TRUE(PrinterExists());
    EXPECT_TRUE(MonitorRegistered());
    EXPECT_EQ(Drivers().size(), 1);
    EXPECT_TRUE(QFileInfo(m_temp + "/PrinterSetup.log").isDir());
}
