#include "platform/core/KnownFolders.h"
#include "platform/core/LastError.h"
#include "platform/core/SpoolJobs.h"
#include "platform/core/Spooler.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace platform;

namespace {

class SpoolJobsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* folder : {"/spooler", "/services", "/Windows"})
            QDir(PlatformRoot() + folder).removeRecursively();
        ASSERT_TRUE(QFile::copy(KVX_TEST_PORT_MONITOR, SystemFolder() + "/TestMon.dll"));
        const QString source = PlatformRoot() + "/source";
        QDir().mkpath(source);
        QFile file(source + "/drv.dll");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("driver");
        file.close();
        ASSERT_TRUE(AddMonitor({"Test Monitor", NativeEnvironment(), "TestMon.dll"}));
        DriverInfo6 driver;
        driver.version = 3;
        driver.name = "Test Driver";
        driver.environment = NativeEnvironment();
        driver.driverPath = driver.dataFile = driver.configFile = source + "/drv.dll";
        ASSERT_TRUE(AddPrinterDriverEx(driver, DriverCopyAllFiles));
        PrinterInfo2 printer;
        printer.printerName = "Test Printer";
        printer.portName = "Test Port A";
        printer.driverName = "Test Driver";
        printer.printProcessor = "WinPrint";
        ClosePrinter(AddPrinter(printer));
    }

    static QByteArray readAll(PrinterHandle job, quint32 step)
    {
        QByteArray data;
        char buffer[64];
        quint32 read = 0;
        while (ReadPrinter(job, buffer, std::min<quint32>(step, sizeof buffer), &read) && read > 0)
            data.append(buffer, read);
        return data;
    }
};

} // namespace

TEST_F(SpoolJobsTest, AJobIsQueuedAndReadBack)
{
    const QByteArray data = QByteArray("spooled pages ").repeated(20);
    const quint32 id = AddSpoolJob("test printer", "Report.doc", data, 3);
    ASSERT_EQ(id, 1u);

    PrinterHandle job = nullptr;
    ASSERT_TRUE(OpenPrinter("Test Printer,Job 1", &job));
    EXPECT_EQ(readAll(job, 13), data);
    quint32 read = 99;
    char byte;
    EXPECT_TRUE(ReadPrinter(job, &byte, 1, &read)); // at the end: success with nothing
    EXPECT_EQ(read, 0u);
    ClosePrinter(job);
}

TEST_F(SpoolJobsTest, AJobSpooledPieceByPieceIsListedWhileSpoolingAndGoesIfNotCommitted)
{
    PrinterHandle printer = nullptr;
    ASSERT_TRUE(OpenPrinter("Test Printer", &printer));
    const auto jobs = [&] {
        QList<JobInfo1> list;
        EnumJobs(printer, &list);
        return list;
    };
    {
        SpoolJobWriter writer;
        ASSERT_TRUE(writer.begin("Test Printer", "Draft.doc"));
        ASSERT_TRUE(writer.write("first "));
        ASSERT_EQ(jobs().size(), 1);
        EXPECT_EQ(jobs()[0].status, quint32(JOB_STATUS_SPOOLING));
    } // never committed
    EXPECT_TRUE(jobs().isEmpty());

    SpoolJobWriter writer;
    ASSERT_TRUE(writer.begin("Test Printer", "Report.doc"));
    ASSERT_TRUE(writer.write("first "));
    ASSERT_TRUE(writer.write("second"));
    const quint32 id = writer.commit(2);
    ASSERT_NE(id, 0u);
    ASSERT_EQ(jobs().size(), 1);
    EXPECT_EQ(jobs()[0].status, quint32(JOB_STATUS_PRINTING));
    EXPECT_EQ(jobs()[0].totalPages, 2u);
    PrinterHandle job = nullptr;
    ASSERT_TRUE(OpenPrinter("Test Printer,Job " + QString::number(id), &job));
    EXPECT_EQ(readAll(job, 64), "first second");
    ClosePrinter(job);
    ClosePrinter(printer);
}

TEST_F(SpoolJobsTest, TheRecordTellsItsSizeFirst)
{
    ASSERT_NE(AddSpoolJob("Test Printer", "Report.doc", "x", 3), 0u);
    PrinterHandle printer = nullptr;
    ASSERT_TRUE(OpenPrinter("Test Printer", &printer));
    quint32 needed = 0;
    EXPECT_FALSE(GetJob(printer, 1, 1, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), ErrorInsufficientBuffer);
    EXPECT_GT(needed, 0u);
    JobInfo1 info;
    ASSERT_TRUE(GetJob(printer, 1, 1, &info, needed, &needed));
    EXPECT_EQ(info.document, "Report.doc");
    EXPECT_EQ(info.printerName, "Test Printer");
    EXPECT_EQ(info.status, JOB_STATUS_PRINTING);
    EXPECT_EQ(info.totalPages, 3u);
    EXPECT_EQ(info.position, 1u);
    EXPECT_FALSE(info.userName.isEmpty());

    EXPECT_FALSE(GetJob(printer, 9, 1, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), ErrorInvalidParameter);
    EXPECT_EQ(needed, 0u);
    ClosePrinter(printer);
}

TEST_F(SpoolJobsTest, DeletingRemovesTheJobButNotWhatAReaderHasOpen)
{
    const QByteArray data(1000, 'd');
    ASSERT_EQ(AddSpoolJob("Test Printer", "a", data), 1u);
    ASSERT_EQ(AddSpoolJob("Test Printer", "b", "b"), 2u);
    PrinterHandle job = nullptr;
    ASSERT_TRUE(OpenPrinter("Test Printer,Job 1", &job));
    char first[10];
    quint32 read = 0;
    ASSERT_TRUE(ReadPrinter(job, first, sizeof first, &read));

    ASSERT_TRUE(SetJob(job, 1, 0, nullptr, JOB_CONTROL_DELETE));
    QList<JobInfo1> jobs;
    ASSERT_TRUE(EnumJobs(job, &jobs));
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_EQ(jobs[0].jobId, 2u);
    EXPECT_EQ(readAll(job, 64).size(), data.size() - qsizetype(sizeof first));
    EXPECT_FALSE(SetJob(job, 1, 0, nullptr, JOB_CONTROL_DELETE));
    ClosePrinter(job);

    PrinterHandle again = nullptr;
    EXPECT_FALSE(OpenPrinter("Test Printer,Job 1", &again));
    // Ids are not handed out twice.
    EXPECT_EQ(AddSpoolJob("Test Printer", "c", "c"), 3u);
}

TEST_F(SpoolJobsTest, PauseAndResumeChangeTheStatus)
{
    ASSERT_EQ(AddSpoolJob("Test Printer", "a", "a", 1, 0), 1u);
    PrinterHandle printer = nullptr;
    ASSERT_TRUE(OpenPrinter("Test Printer", &printer));
    JobInfo1 info;
    quint32 needed = 0;
    ASSERT_TRUE(SetJob(printer, 1, 0, nullptr, JOB_CONTROL_PAUSE));
    ASSERT_TRUE(GetJob(printer, 1, 1, &info, 4096, &needed));
    EXPECT_EQ(info.status, JOB_STATUS_PAUSED);
    ASSERT_TRUE(SetJob(printer, 1, 0, nullptr, JOB_CONTROL_RESUME));
    ASSERT_TRUE(GetJob(printer, 1, 1, &info, 4096, &needed));
    EXPECT_EQ(info.status, 0u);
    ClosePrinter(printer);
}

TEST_F(SpoolJobsTest, CallsOnTheWrongHandleOrPrinterFail)
{
    EXPECT_EQ(AddSpoolJob("No Printer", "a", "a"), 0u);
    EXPECT_EQ(GetLastError(), ErrorInvalidPrinterName);
    PrinterHandle printer = nullptr;
    ASSERT_TRUE(OpenPrinter("Test Printer", &printer));
    char buffer[4];
    quint32 read = 0;
    EXPECT_FALSE(ReadPrinter(printer, buffer, sizeof buffer, &read)); // not a job handle
    EXPECT_EQ(GetLastError(), ErrorInvalidParameter);
    ClosePrinter(printer);
    EXPECT_FALSE(ReadPrinter(printer, buffer, sizeof buffer, &read));
    EXPECT_EQ(GetLastError(), ErrorInvalidHandle);
}
