#include "platform/core/ServiceControl.h"

#include "platform/core/KnownFolders.h"
#include "platform/core/LastError.h"
#include "platform/core/StateFile.h"

#include <QDateTime>
#include <QJsonObject>
#include <QMutex>
#include <QSet>
#include <QStringList>

namespace platform {

struct ServiceHandleData {
    QString service; // empty for the manager
    quint32 access = 0;
};

namespace {

const QString kState = QStringLiteral("state");
const QString kNeverStops = QStringLiteral("neverStops");
const QString kStartDelay = QStringLiteral("startDelayMs");
const QString kStartedAt = QStringLiteral("startedAtMs");

// Services that exist on every machine the programs run on.
const QStringList& knownServices()
{
    static const QStringList services = {QStringLiteral("spooler")};
    return services;
}

QString serviceId(const QString& name)
{
    for (const QString& known : knownServices()) {
        if (known.compare(name, Qt::CaseInsensitive) == 0)
            return known;
    }
    return {};
}

StateFile stateFile() { return StateFile(PlatformRoot() + QStringLiteral("/services/services.json")); }

QMutex g_handlesMutex;
QSet<ServiceHandleData*> g_handles;

bool isLive(ServiceHandle handle)
{
    QMutexLocker lock(&g_handlesMutex);
    return handle && g_handles.contains(handle);
}

quint32 grantedRights(quint32 access)
{
    quint32 rights = access & ~(GenericRead | GenericExecute | GenericAll);
    if (access & GenericRead)
        rights |= ServiceQueryStatus | ServiceInterrogate | 0x0001 | 0x0008;
    if (access & GenericExecute)
        rights |= ServiceStart | ServiceStop | 0x0040 | 0x0100;
    if (access & GenericAll)
        rights |= ServiceAllAccess;
    return rights;
}

qint64 nowMs() { return QDateTime::currentMSecsSinceEpoch(); }

// The state a service reports now; pending states settle once their condition is met.
ServiceStatus statusOf(const QJsonObject& service)
{
    ServiceStatus status;
    status.currentState = service.value(kState).toInt(ServiceRunning);
    if (status.currentState == ServiceStopPending && !service.value(kNeverStops).toBool())
        status.currentState = ServiceStopped;
    if (status.currentState == ServiceStartPending) {
        const qint64 due = qint64(service.value(kStartedAt).toDouble()) + service.value(kStartDelay).toInt();
        const qint64 remaining = due - nowMs();
        if (remaining > 0)
            status.waitHint = quint32(remaining);
        else
            status.currentState = ServiceRunning;
    }
    if (status.currentState == ServiceRunning)
        status.controlsAccepted = 0x1; // accepts stop
    return status;
}

bool checkService(ServiceHandle service, quint32 right)
{
    if (!isLive(service) || service->service.isEmpty()) {
        SetLastError(ErrorInvalidHandle);
        return false;
    }
    if ((service->access & right) != right) {
        SetLastError(ErrorAccessDenied);
        return false;
    }
    return true;
}

// Runs `step` on the service's record under the state lock. `step` sets the last error
// and says whether the call succeeded; the record is stored either way.
bool changeService(const QString& name, const std::function<bool(QJsonObject&)>& step)
{
    bool succeeded = false;
    quint32 error = ErrorSuccess;
    const bool stored = stateFile().update([&](QJsonObject& document) {
        QJsonObject service = document.value(name).toObject();
        SetLastError(ErrorSuccess);
        succeeded = step(service);
        error = GetLastError();
        document.insert(name, service);
        return true;
    });
    if (!stored)
        return false;
    SetLastError(error);
    return succeeded;
}

} // namespace

ServiceHandle OpenSCManager(quint32 access)
{
    auto* handle = new ServiceHandleData {QString(), access};
    QMutexLocker lock(&g_handlesMutex);
    g_handles.insert(handle);
    SetLastError(ErrorSuccess);
    return handle;
}

ServiceHandle OpenService(ServiceHandle manager, const QString& name, quint32 access)
{
    if (!isLive(manager) || !manager->service.isEmpty()) {
        SetLastError(ErrorInvalidHandle);
        return nullptr;
    }
    const QString id = serviceId(name);
    if (id.isEmpty()) {
        SetLastError(ErrorServiceDoesNotExist);
        return nullptr;
    }
    auto* handle = new ServiceHandleData {id, grantedRights(access)};
    QMutexLocker lock(&g_handlesMutex);
    g_handles.insert(handle);
    SetLastError(ErrorSuccess);
    return handle;
}

bool CloseServiceHandle(ServiceHandle handle)
{
    QMutexLocker lock(&g_handlesMutex);
    if (!handle || !g_handles.remove(handle)) {
        SetLastError(ErrorInvalidHandle);
        return false;
    }
    delete handle;
    SetLastError(ErrorSuccess);
    return true;
}

bool ControlService(ServiceHandle service, quint32 control, ServiceStatus* status)
{
    if (control != ServiceControlStop && control != ServiceControlInterrogate) {
        SetLastError(ErrorInvalidServiceControl);
        return false;
    }
    if (!checkService(service, control == ServiceControlStop ? ServiceStop : ServiceInterrogate))
        return false;
    return changeService(service->service, [&](QJsonObject& record) {
        ServiceStatus current = statusOf(record);
        if (control == ServiceControlStop && current.currentState == ServiceRunning) {
            record.insert(kState, int(ServiceStopPending));
            current = statusOf(record);
        } else if (control == ServiceControlStop) {
            SetLastError(current.currentState == ServiceStopped ? ErrorServiceNotActive
                                                                : ErrorServiceCannotAcceptControl);
        } else if (current.currentState == ServiceStopped) {
            SetLastError(ErrorServiceNotActive);
        }
        record.insert(kState, int(current.currentState));
        if (status)
            *status = current;
        return GetLastError() == ErrorSuccess;
    });
}

bool QueryServiceStatus(ServiceHandle service, ServiceStatus* status)
{
    if (!checkService(service, ServiceQueryStatus))
        return false;
    QJsonObject document;
    if (!stateFile().read(&document))
        return false;
    *status = statusOf(document.value(service->service).toObject());
    SetLastError(ErrorSuccess);
    return true;
}

bool StartService(ServiceHandle service)
{
    if (!checkService(service, ServiceStart))
        return false;
    return changeService(service->service, [&](QJsonObject& record) {
        if (statusOf(record).currentState != ServiceStopped) {
            SetLastError(ErrorServiceAlreadyRunning);
            return false;
        }
        const bool delayed = record.value(kStartDelay).toInt() > 0;
        record.insert(kState, int(delayed ? ServiceStartPending : ServiceRunning));
        record.insert(kStartedAt, double(nowMs()));
        return true;
    });
}

bool SetServiceBehaviour(const QString& name, const ServiceBehaviour& behaviour)
{
    const QString id = serviceId(name);
    if (id.isEmpty()) {
        SetLastError(ErrorServiceDoesNotExist);
        return false;
    }
    return changeService(id, [&](QJsonObject& record) {
        record.insert(kNeverStops, behaviour.neverStops);
        record.insert(kStartDelay, behaviour.startDelayMs);
        return true;
    });
}

quint32 CurrentServiceState(const QString& name)
{
    const QString id = serviceId(name);
    QJsonObject document;
    if (id.isEmpty() || !stateFile().read(&document))
        return 0;
    return statusOf(document.value(id).toObject()).currentState;
}

} // namespace platform
