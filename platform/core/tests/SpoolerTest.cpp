#include "platform/core/KnownFolders.h"
#include "platform/core/LastError.h"
#include "platform/core/ServiceControl.h"
#include "platform/core/Spooler.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace platform;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class SpoolerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* folder : {"/spooler", "/services", "/Windows"})
            QDir(PlatformRoot() + folder).removeRecursively();
        ASSERT_TRUE(QFile::copy(KVX_TEST_PORT_MONITOR, SystemFolder() + "/TestMon.dll"));
        source = PlatformRoot() + "/source";
        QDir(source).removeRecursively();
        for (const char* name : {"drv.dll", "ui.dll", "conv.exe", "pt.dll"})
            writeFile(source + "/" + name, name);
    }

    void addMonitor() { ASSERT_TRUE(AddMonitor({"Test Monitor", NativeEnvironment(), "TestMon.dll"})); }

    DriverInfo6 driver() const
    {
        DriverInfo6 d;
        d.version = 3;
        d.name = "Test Driver";
        d.environment = NativeEnvironment();
        d.driverPath = source + "/drv.dll";
        d.dataFile = source + "/drv.dll";
        d.configFile = source + "/ui.dll";
        d.dependentFiles = {"conv.exe", "pt.dll"};
        return d;
    }

    void addDriver() { ASSERT_TRUE(AddPrinterDriverEx(driver(), DriverCopyAllFiles)); }

    PrinterInfo2 printer() const
    {
        PrinterInfo2 p;
        p.printerName = "Test Printer";
        p.portName = "Test Port B";
        p.driverName = "Test Driver";
        p.printProcessor = "WinPrint";
        return p;
    }

    QString source;
};

} // namespace

TEST_F(SpoolerTest, MonitorOffersItsPortsOnceAdded)
{
    QStringList ports;
    ASSERT_TRUE(EnumPorts(&ports));
    EXPECT_TRUE(ports.isEmpty());
    addMonitor();
    QList<MonitorInfo1> monitors;
    ASSERT_TRUE(EnumMonitors(&monitors, 4096));
    ASSERT_EQ(monitors.size(), 1);
    EXPECT_EQ(monitors[0].name, "Test Monitor");
    ASSERT_TRUE(EnumPorts(&ports));
    EXPECT_EQ(ports, (QStringList {"Test Port A", "Test Port B"}));

    // 8 bytes of record plus the name and its terminator do not fit in 16 bytes.
    EXPECT_FALSE(EnumMonitors(&monitors, 16));
    EXPECT_EQ(GetLastError(), ErrorInsufficientBuffer);

    ASSERT_TRUE(DeleteMonitor(NativeEnvironment(), "test monitor"));
    ASSERT_TRUE(EnumPorts(&ports));
    EXPECT_TRUE(ports.isEmpty());
}

TEST_F(SpoolerTest, MonitorFailuresCarryTheirCodes)
{
    writeFile(SystemFolder() + "/NotALibrary.dll", "text");
    addMonitor();
    const struct {
        MonitorInfo2 monitor;
        quint32 error;
    } cases[] = {
        {{"Test Monitor", NativeEnvironment(), "TestMon.dll"}, ErrorPrintMonitorAlreadyInstalled},
        {{"Other", NativeEnvironment(), "Missing.dll"}, ErrorModNotFound},
        {{"Other", NativeEnvironment(), "NotALibrary.dll"}, ErrorBadExeFormat},
        {{"Other", "Windows 3.1", "TestMon.dll"}, ErrorInvalidEnvironment},
        {{"", NativeEnvironment(), "TestMon.dll"}, ErrorInvalidParameter},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(AddMonitor(c.monitor)) << c.monitor.dllName.toStdString();
        EXPECT_EQ(GetLastError(), c.error) << c.monitor.dllName.toStdString();
    }
    EXPECT_FALSE(DeleteMonitor(NativeEnvironment(), "Other"));
    EXPECT_EQ(GetLastError(), ErrorUnknownPrintMonitor);
}

TEST_F(SpoolerTest, DriverDirectoryPerEnvironment)
{
    const struct {
        const char* environment;
        const char* folder;
    } cases[] = {{"Windows x64", "x64"}, {"Windows NT x86", "W32X86"}, {"windows arm64", "ARM64"}};
    for (const auto& c : cases) {
        QString directory;
        ASSERT_TRUE(GetPrinterDriverDirectory(c.environment, &directory));
        EXPECT_EQ(directory, SystemFolder() + "/spool/drivers/" + c.folder);
        EXPECT_TRUE(QFileInfo(directory).isDir());
    }
    QString directory;
    EXPECT_FALSE(GetPrinterDriverDirectory("Windows 95", &directory));
    EXPECT_EQ(GetLastError(), ErrorInvalidEnvironment);
}

TEST_F(SpoolerTest, DriverFilesAreCopiedIntoTheVersionFolderAndDeletedWithIt)
{
    addDriver();
    QString directory;
    ASSERT_TRUE(GetPrinterDriverDirectory(NativeEnvironment(), &directory));
    const QString installed = directory + "/3";
    QList<DriverInfo6> drivers;
    ASSERT_TRUE(EnumPrinterDrivers(NativeEnvironment(), &drivers));
    ASSERT_EQ(drivers.size(), 1);
    EXPECT_EQ(drivers[0].driverPath, installed + "/drv.dll");
    EXPECT_EQ(drivers[0].configFile, installed + "/ui.dll");
    EXPECT_EQ(drivers[0].dependentFiles, (QStringList {installed + "/conv.exe", installed + "/pt.dll"}));
    EXPECT_EQ(drivers[0].defaultDataType, "RAW");
    for (const char* name : {"drv.dll", "ui.dll", "conv.exe", "pt.dll"})
        EXPECT_TRUE(QFile::exists(installed + "/" + name)) << name;

    // Adding again replaces the files and the record.
    writeFile(source + "/conv.exe", "new converter");
    addDriver();
    ASSERT_TRUE(EnumPrinterDrivers(NativeEnvironment(), &drivers));
    EXPECT_EQ(drivers.size(), 1);
    QFile conv(installed + "/conv.exe");
    ASSERT_TRUE(conv.open(QIODevice::ReadOnly));
    EXPECT_EQ(conv.readAll(), "new converter");

    ASSERT_TRUE(DeletePrinterDriverEx(NativeEnvironment(), "Test Driver",
                                      DriverDeleteSpecificVersion | DriverDeleteAllFiles, 3));
    ASSERT_TRUE(EnumPrinterDrivers(NativeEnvironment(), &drivers));
    EXPECT_TRUE(drivers.isEmpty());
    EXPECT_FALSE(QFile::exists(installed + "/drv.dll"));
    EXPECT_FALSE(QFile::exists(installed + "/conv.exe"));
    EXPECT_FALSE(DeletePrinterDriverEx(NativeEnvironment(), "Test Driver", DriverDeleteAllFiles, 3));
    EXPECT_EQ(GetLastError(), ErrorUnknownPrinterDriver);
}

TEST_F(SpoolerTest, DriverWithAMissingFileIsNotRegistered)
{
    DriverInfo6 d = driver();
    d.dependentFiles.append("missing.dll");
    EXPECT_FALSE(AddPrinterDriverEx(d, DriverCopyAllFiles));
    EXPECT_EQ(GetLastError(), ErrorFileNotFound);
    QList<DriverInfo6> drivers;
    ASSERT_TRUE(EnumPrinterDrivers(NativeEnvironment(), &drivers));
    EXPECT_TRUE(drivers.isEmpty());
}

TEST_F(SpoolerTest, PrinterNeedsItsPortDriverAndProcessor)
{
    const struct {
        const char* what;
        void (*change)(PrinterInfo2&);
        quint32 error;
    } cases[] = {
        {"port", [](PrinterInfo2& p) { p.portName = "LPT9:"; }, ErrorUnknownPort},
        {"driver", [](PrinterInfo2& p) { p.driverName = "No Driver"; }, ErrorUnknownPrinterDriver},
        {"processor", [](PrinterInfo2& p) { p.printProcessor = "Other"; }, ErrorUnknownPrintProcessor},
        {"name", [](PrinterInfo2& p) { p.printerName = "a,b"; }, ErrorInvalidPrinterName},
    };
    addMonitor();
    addDriver();
    for (const auto& c : cases) {
        PrinterInfo2 p = printer();
        c.change(p);
        EXPECT_EQ(AddPrinter(p), nullptr) << c.what;
        EXPECT_EQ(GetLastError(), c.error) << c.what;
    }
}

TEST_F(SpoolerTest, PrinterLifeCycle)
{
    addMonitor();
    addDriver();
    PrinterHandle added = AddPrinter(printer());
    ASSERT_NE(added, nullptr);
    PrinterInfo2 info;
    ASSERT_TRUE(GetPrinter(added, &info));
    EXPECT_EQ(info.printerName, "Test Printer");
    EXPECT_EQ(info.dataType, "RAW");
    EXPECT_TRUE(info.serverName.isNull());
    EXPECT_EQ(info.attributes, quint32(PrinterAttributeLocal));
    ASSERT_TRUE(ClosePrinter(added));

    EXPECT_EQ(AddPrinter(printer()), nullptr);
    EXPECT_EQ(GetLastError(), ErrorPrinterAlreadyExists);

    // A plain open may use the printer but not change it.
    PrinterHandle user = nullptr;
    ASSERT_TRUE(OpenPrinter("test printer", &user));
    info.attributes = PrinterAttributeQueued;
    EXPECT_FALSE(SetPrinter(user, info));
    EXPECT_EQ(GetLastError(), ErrorAccessDenied);
    EXPECT_FALSE(DeletePrinter(user));
    EXPECT_EQ(GetLastError(), ErrorAccessDenied);
    DriverInfo6 driverInfo;
    ASSERT_TRUE(GetPrinterDriver(user, "", &driverInfo));
    EXPECT_EQ(driverInfo.name, "Test Driver");
    EXPECT_FALSE(GetPrinterDriver(user, "Windows IA64", &driverInfo));
    EXPECT_EQ(GetLastError(), ErrorUnknownPrinterDriver);

    PrinterDefaults admin {QString(), PrinterAllAccess};
    PrinterHandle full = nullptr;
    ASSERT_TRUE(OpenPrinter("Test Printer", &full, &admin));
    ASSERT_TRUE(SetPrinter(full, info));
    ASSERT_TRUE(GetPrinter(user, &info));
    EXPECT_EQ(info.attributes, quint32(PrinterAttributeQueued));

    // The monitor and driver stay while the printer uses them.
    EXPECT_FALSE(DeleteMonitor("", "Test Monitor"));
    EXPECT_EQ(GetLastError(), ErrorPrintMonitorInUse);
    EXPECT_FALSE(DeletePrinterDriverEx("", "Test Driver", DriverDeleteAllFiles, 3));
    EXPECT_EQ(GetLastError(), ErrorPrinterDriverInUse);

    ASSERT_TRUE(DeletePrinter(full));
    EXPECT_FALSE(GetPrinter(user, &info));
    EXPECT_EQ(GetLastError(), ErrorPrinterDeleted);
    ClosePrinter(full);
    ClosePrinter(user);
    PrinterHandle none = nullptr;
    EXPECT_FALSE(OpenPrinter("Test Printer", &none));
    EXPECT_EQ(GetLastError(), ErrorInvalidPrinterName);
    EXPECT_TRUE(DeleteMonitor("", "Test Monitor"));
}

TEST_F(SpoolerTest, NullAndClosedHandlesAreInvalid)
{
    PrinterInfo2 info;
    EXPECT_FALSE(GetPrinter(nullptr, &info));
    EXPECT_EQ(GetLastError(), ErrorInvalidHandle);
    EXPECT_FALSE(ClosePrinter(nullptr));
    EXPECT_EQ(GetLastError(), ErrorInvalidHandle);
}

TEST_F(SpoolerTest, JobFormOpensAJobOfAnExistingPrinter)
{
    addMonitor();
    addDriver();
    ClosePrinter(AddPrinter(printer()));
    PrinterHandle job = nullptr;
    EXPECT_FALSE(OpenPrinter("Test Printer,Job 7", &job));
    EXPECT_EQ(GetLastError(), ErrorInvalidParameter);
    writeFile(SpoolJobFile("Test Printer", 7), "spool");
    ASSERT_TRUE(OpenPrinter("Test Printer,Job 7", &job));
    EXPECT_EQ(job->jobId, 7u);
    EXPECT_EQ(job->printerName, "Test Printer");
    PrinterInfo2 info;
    ASSERT_TRUE(GetPrinter(job, &info));
    EXPECT_EQ(info.jobs, 1u);
    ClosePrinter(job);
    EXPECT_FALSE(OpenPrinter("Other Printer,Job 7", &job));
    EXPECT_EQ(GetLastError(), ErrorInvalidPrinterName);
}

TEST_F(SpoolerTest, StateSurvivesInTheStateFile)
{
    addMonitor();
    // A fresh look at the file, as another process would have.
    QFile state(PlatformRoot() + "/spooler/spooler.json");
    ASSERT_TRUE(state.open(QIODevice::ReadOnly));
    EXPECT_TRUE(state.readAll().contains("Test Monitor"));
}
