#pragma once
// The service control manager for the services the programs drive (the print spooler,
// "spooler"). Service states live in a file under the platform root, so a stop in one
// process is seen by every other: while "spooler" is not running, every spooler call
// fails with ErrorRpcServerUnavailable. Every call sets the last error (0 on success).
#include <QString>
#include <QtGlobal>

namespace platform {

enum ServiceState : quint32 {
    ServiceStopped = 1,
    ServiceStartPending = 2,
    ServiceStopPending = 3,
    ServiceRunning = 4,
};

enum ServiceControlCode : quint32 {
    ServiceControlStop = 1,
    ServiceControlInterrogate = 4,
};

enum ServiceAccessRight : quint32 {
    ScManagerConnect = 0x0001,
    ServiceQueryStatus = 0x0004,
    ServiceStart = 0x0010,
    ServiceStop = 0x0020,
    ServiceInterrogate = 0x0080,
    ServiceAllAccess = 0xF01FF,
    GenericRead = 0x80000000,
    GenericExecute = 0x20000000,
    GenericAll = 0x10000000,
};

struct ServiceStatus {
    quint32 currentState = 0;
    quint32 controlsAccepted = 0;
    quint32 win32ExitCode = 0;
    quint32 checkPoint = 0;
    quint32 waitHint = 0; // milliseconds until the next state change is expected
};

struct ServiceHandleData;
using ServiceHandle = ServiceHandleData*;

ServiceHandle OpenSCManager(quint32 access);
// Null (ErrorServiceDoesNotExist) for a service the manager does not know.
ServiceHandle OpenService(ServiceHandle manager, const QString& name, quint32 access);
bool CloseServiceHandle(ServiceHandle handle);

// Stop and interrogate. When the service cannot take the control (not active, already
// stopping) the call fails but `status` still reports the current state.
bool ControlService(ServiceHandle service, quint32 control, ServiceStatus* status);
bool QueryServiceStatus(ServiceHandle service, ServiceStatus* status);
bool StartService(ServiceHandle service);

// How a stand-in service behaves, kept with its state: one that never stops stays in
// "stop pending" after a stop control; a start delay keeps it in "start pending" (with
// the remaining time as the wait hint) before it runs.
struct ServiceBehaviour {
    bool neverStops = false;
    int startDelayMs = 0;
};
bool SetServiceBehaviour(const QString& name, const ServiceBehaviour& behaviour);

// The service's state as its status query would report it; 0 for an unknown service.
quint32 CurrentServiceState(const QString& name);

} // namespace platform
