#include "platform/core/KnownFolders.h"
#include "platform/core/LastError.h"
#include "platform/core/ServiceControl.h"
#include "platform/core/Spooler.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace platform;

namespace {

class ServiceControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir(PlatformRoot() + "/services").removeRecursively();
        manager = OpenSCManager(GenericRead);
        ASSERT_NE(manager, nullptr);
    }
    void TearDown() override
    {
        CloseServiceHandle(manager);
        QDir(PlatformRoot() + "/services").removeRecursively();
    }
    ServiceHandle open(quint32 access) { return OpenService(manager, "Spooler", access); }

    ServiceHandle manager = nullptr;
};

} // namespace

TEST_F(ServiceControlTest, StopInterrogateStartCycle)
{
    ServiceHandle spooler = open(ServiceAllAccess);
    ASSERT_NE(spooler, nullptr);
    ServiceStatus status;
    ASSERT_TRUE(QueryServiceStatus(spooler, &status));
    EXPECT_EQ(status.currentState, ServiceRunning);

    ASSERT_TRUE(ControlService(spooler, ServiceControlStop, &status));
    EXPECT_EQ(GetLastError(), ErrorSuccess);
    EXPECT_EQ(status.currentState, ServiceStopped);
    // A stopped service takes no controls but still reports its state.
    status = {};
    EXPECT_FALSE(ControlService(spooler, ServiceControlInterrogate, &status));
    EXPECT_EQ(GetLastError(), ErrorServiceNotActive);
    EXPECT_EQ(status.currentState, ServiceStopped);

    // While stopped the spooler is away for everyone.
    QStringList ports;
    EXPECT_FALSE(EnumPorts(&ports));
    EXPECT_EQ(GetLastError(), ErrorRpcServerUnavailable);

    ASSERT_TRUE(StartService(spooler));
    EXPECT_EQ(CurrentServiceState("spooler"), ServiceRunning);
    EXPECT_TRUE(EnumPorts(&ports));
    EXPECT_FALSE(StartService(spooler));
    EXPECT_EQ(GetLastError(), ErrorServiceAlreadyRunning);
    ASSERT_TRUE(CloseServiceHandle(spooler));
    EXPECT_FALSE(CloseServiceHandle(spooler));
    EXPECT_EQ(GetLastError(), ErrorInvalidHandle);
}

TEST_F(ServiceControlTest, AServiceThatNeverStopsStaysStopPending)
{
    ASSERT_TRUE(SetServiceBehaviour("spooler", {.neverStops = true}));
    ServiceHandle spooler = open(ServiceAllAccess);
    ServiceStatus status;
    ASSERT_TRUE(ControlService(spooler, ServiceControlStop, &status));
    EXPECT_EQ(status.currentState, ServiceStopPending);
    ASSERT_TRUE(ControlService(spooler, ServiceControlInterrogate, &status));
    EXPECT_EQ(status.currentState, ServiceStopPending);
    EXPECT_FALSE(StartService(spooler));
    EXPECT_EQ(GetLastError(), ErrorServiceAlreadyRunning);
    // Once allowed to stop, the pending stop completes.
    ASSERT_TRUE(SetServiceBehaviour("spooler", {}));
    EXPECT_EQ(CurrentServiceState("spooler"), ServiceStopped);
    CloseServiceHandle(spooler);
}

TEST_F(ServiceControlTest, DelayedStartReportsAWaitHint)
{
    ASSERT_TRUE(SetServiceBehaviour("spooler", {.startDelayMs = 60000}));
    ServiceHandle spooler = open(ServiceAllAccess);
    ServiceStatus status;
    ASSERT_TRUE(ControlService(spooler, ServiceControlStop, &status));
    ASSERT_TRUE(StartService(spooler));
    ASSERT_TRUE(QueryServiceStatus(spooler, &status));
    EXPECT_EQ(status.currentState, ServiceStartPending);
    EXPECT_GT(status.waitHint, 0u);
    EXPECT_LE(status.waitHint, 60000u);
    CloseServiceHandle(spooler);
}

TEST_F(ServiceControlTest, AccessRightsAndUnknownServices)
{
    EXPECT_EQ(OpenService(manager, "nosuchservice", ServiceAllAccess), nullptr);
    EXPECT_EQ(GetLastError(), ErrorServiceDoesNotExist);

    const struct {
        quint32 access;
        bool canStop;
        bool canStart;
        bool canQuery;
    } cases[] = {
        {GenericExecute, true, true, false},
        {ServiceInterrogate, false, false, false},
        {ServiceStart | ServiceQueryStatus, false, true, true},
        {GenericRead, false, false, true},
    };
    for (const auto& c : cases) {
        ServiceHandle spooler = open(c.access);
        ASSERT_NE(spooler, nullptr);
        ServiceStatus status;
        EXPECT_EQ(QueryServiceStatus(spooler, &status), c.canQuery) << c.access;
        const bool stopped = ControlService(spooler, ServiceControlStop, &status);
        EXPECT_EQ(stopped, c.canStop) << c.access;
        if (!c.canStop)
            EXPECT_EQ(GetLastError(), ErrorAccessDenied);
        if (stopped) {
            EXPECT_EQ(StartService(spooler), c.canStart);
        } else {
            EXPECT_FALSE(StartService(spooler)); // running or not allowed
            EXPECT_EQ(GetLastError(), c.canStart ? ErrorServiceAlreadyRunning : ErrorAccessDenied) << c.access;
        }
        CloseServiceHandle(spooler);
    }
}
