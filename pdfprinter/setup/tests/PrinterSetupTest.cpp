// The installer's pieces in this process: command line, environment, and the steps whose
// failures are hard to bring about from outside.
#include "SetupFixture.h"

#include "pdfprinter/setup/PrinterSetup.h"
#include "pdfprinter/setup/SetupCommandLine.h"
#include "pdfprinter/setup/SetupLog.h"
#include "platform/core/ServiceControl.h"
#include "platform/core/SystemInfo.h"

#include <QFile>

using namespace platform;

TEST(SetupCommandLine, SwitchesAndPrecedence)
{
    const struct {
        QStringList arguments;
        CSetupCommandLine::Action action;
        const char* folder;
    } cases[] = {
        {{}, CSetupCommandLine::ActionNone, ""},
        {{"/i"}, CSetupCommandLine::ActionInstall, ""},
        {{"-r"}, CSetupCommandLine::ActionReinstall, ""},
        {{"/u"}, CSetupCommandLine::ActionUninstall, ""},
        {{"/s /opt/pdf"}, CSetupCommandLine::ActionInstallFrom, "opt/pdf"},
        {{"-s //opt/my pdf"}, CSetupCommandLine::ActionInstallFrom, "/opt/my pdf"},
        {{"/I", "/R", "/U", "/S /x"}, CSetupCommandLine::ActionNone, ""},
        {{"/ i", "/i ", "/uu", "/s", "/s/x", "i", "u"}, CSetupCommandLine::ActionNone, ""},
        {{"/s /x", "/u", "/r", "/i"}, CSetupCommandLine::ActionInstall, "x"},
        {{"/u", "/s /x", "/r"}, CSetupCommandLine::ActionReinstall, "x"},
        {{"/s /x", "/u"}, CSetupCommandLine::ActionUninstall, "x"},
        {{"/s /a", "/s /b"}, CSetupCommandLine::ActionInstallFrom, "b"},
    };
    for (const auto& c : cases) {
        CSetupCommandLine commandLine;
        commandLine.Parse(c.arguments);
        EXPECT_EQ(commandLine.GetAction(), c.action) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(commandLine.GetFolder(), c.folder) << c.arguments.join(' ').toStdString();
    }
}

TEST(PrinterSetupEnvironment, SixtyFourBitArchitecturesGiveWindowsX64)
{
    const struct {
        quint16 architecture;
        const char* environment;
    } cases[] = {
        {ProcessorArchitectureIntel, "Windows NT x86"},    {ProcessorArchitectureArm, "Windows NT x86"},
        {ProcessorArchitectureIa64, "Windows x64"},        {ProcessorArchitectureAmd64, "Windows x64"},
        {ProcessorArchitectureIa32OnWin64, "Windows x64"}, {ProcessorArchitectureArm64, "Windows x64"},
        {ProcessorArchitectureUnknown, "Windows NT x86"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CPrinterSetup::EnvironmentFor(c.architecture), c.environment) << c.architecture;
    EXPECT_EQ(CPrinterSetup::EnvironmentFor(ProcessorArchitectureFromMachine("aarch64")), "Windows x64");
    EXPECT_EQ(CPrinterSetup::EnvironmentFor(ProcessorArchitectureFromMachine("x86_64")), "Windows x64");
}

namespace {

class PrinterSetupSteps : public SetupFixture {};

} // namespace

TEST_F(PrinterSetupSteps, SpoolerThatNeverStopsIsWaitedForBoundedlyAndStartIsStillTried)
{
    ASSERT_TRUE(SetServiceBehaviour("spooler", {.neverStops = true}));
    CPrinterSetup setup;
    setup.SetSpoolerWaitLimit(std::chrono::milliseconds(150));
    setup.RestartSpooler();
    EXPECT_EQ(LastLogSection(), (Header()
                  + QStringList {"---------------------------------- Start AddMonitor -----", "------ 서비스 중지",
                                 "Error Message--0 --- The operation completed successfully.",
                                 "------ 서비스 중지 대기 시간 초과",
                                 "---------------------------------- End   AddMonitor -----"}));
    // The start was refused (the spooler never left "stop pending"); once it may stop,
    // the next restart goes through.
    EXPECT_EQ(CurrentServiceState("spooler"), quint32(ServiceStopPending));
    ASSERT_TRUE(SetServiceBehaviour("spooler", {}));
    setup.RestartSpooler();
    EXPECT_EQ(CurrentServiceState("spooler"), quint32(ServiceRunning));
}

TEST_F(PrinterSetupSteps, SlowStartIsWaitedForThroughTheWaitHint)
{
    ASSERT_TRUE(SetServiceBehaviour("spooler", {.startDelayMs = 200}));
    CPrinterSetup setup;
    setup.RestartSpooler();
    EXPECT_EQ(CurrentServiceState("spooler"), quint32(ServiceRunning));
    EXPECT_TRUE(LastLogSection().contains("----- 서비스 시작"));
}

TEST_F(PrinterSetupSteps, FailedMonitorCopySwitchesRedirectionBackOn)
{
    QFile::remove(m_source + "/" + Sub() + "/KVXE2PPRMON.dll");
    CPrinterSetup setup;
    setup.SetSourceFolder(m_source);
    setup.AddPortMonitor();
    EXPECT_FALSE(IsFsRedirectionDisabled());
    const QStringList log = LastLogSection();
    ASSERT_GE(log.size(), 2);
    EXPECT_EQ(log.mid(log.size() - 2),
              (QStringList {"------ 모니터 포트 복사 실패",
                            "Error Message--2 --- The system cannot find the file specified."}));
    EXPECT_EQ(setup.GetStatus(), quint32(SETUP_OK)); // the monitor step never fails the install
}

TEST_F(PrinterSetupSteps, ErrorEntryForACodeWithoutTextWritesNothing)
{
    CSetupLog log;
    log.WriteError("context", 0xDEADu);
    log.Write("after");
    EXPECT_EQ(LastLogSection(), (QStringList {"---------------Start", "Time : <T>", "-after"}));
}
