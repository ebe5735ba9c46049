#include "platform/core/Spooler.h"

#include "platform/core/FileCopy.h"
#include "platform/core/KnownFolders.h"
#include "platform/core/LastError.h"
#include "platform/core/MonitorLibrary.h"
#include "platform/core/ServiceControl.h"
#include "platform/core/StateFile.h"
#include "platform/core/SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>

namespace platform {

namespace {

const QString kMonitors = QStringLiteral("monitors");
const QString kDrivers = QStringLiteral("drivers");
const QString kPrinters = QStringLiteral("printers");

// Environment names and their driver-directory folders.
const QList<QPair<QString, QString>>& environments()
{
    static const QList<QPair<QString, QString>> list = {
        {QStringLiteral("Windows x64"), QStringLiteral("x64")},
        {QStringLiteral("Windows NT x86"), QStringLiteral("W32X86")},
        {QStringLiteral("Windows IA64"), QStringLiteral("IA64")},
        {QStringLiteral("Windows ARM64"), QStringLiteral("ARM64")},
    };
    return list;
}

// The canonical environment name; empty (and ErrorInvalidEnvironment) when unknown.
QString resolveEnvironment(const QString& environment)
{
    if (environment.isEmpty())
        return NativeEnvironment();
    for (const auto& entry : environments()) {
        if (entry.first.compare(environment, Qt::CaseInsensitive) == 0)
            return entry.first;
    }
    SetLastError(ErrorInvalidEnvironment);
    return {};
}

QString environmentFolder(const QString& environment)
{
    for (const auto& entry : environments()) {
        if (entry.first == environment)
            return entry.second;
    }
    return {};
}

QString driverDirectory(const QString& environment)
{
    return SystemFolder() + QStringLiteral("/spool/drivers/") + environmentFolder(environment);
}

QString folded(const QString& name) { return name.toCaseFolded(); }

StateFile stateFile() { return StateFile(PlatformRoot() + QStringLiteral("/spooler/spooler.json")); }

bool spoolerAvailable()
{
    if (CurrentServiceState(QStringLiteral("spooler")) != ServiceRunning) {
        SetLastError(ErrorRpcServerUnavailable);
        return false;
    }
    return true;
}

bool readState(QJsonObject* state)
{
    return spoolerAvailable() && stateFile().read(state);
}

// A change of the spooler state: `change` says whether the call succeeds (setting the
// last error when not); the state is only written on success.
bool changeState(const std::function<bool(QJsonObject&)>& change)
{
    if (!spoolerAvailable())
        return false;
    if (!stateFile().update(change))
        return false;
    SetLastError(ErrorSuccess);
    return true;
}

QJsonValue optionalText(const QString& text) { return text.isNull() ? QJsonValue() : QJsonValue(text); }
QString textOf(const QJsonValue& value) { return value.isString() ? value.toString() : QString(); }

QJsonObject driverToJson(const DriverInfo6& d)
{
    return QJsonObject {
        {"version", double(d.version)}, {"name", d.name}, {"environment", d.environment},
        {"driverPath", d.driverPath}, {"dataFile", d.dataFile}, {"configFile", d.configFile},
        {"helpFile", optionalText(d.helpFile)}, {"dependentFiles", QJsonArray::fromStringList(d.dependentFiles)},
        {"monitorName", optionalText(d.monitorName)}, {"defaultDataType", optionalText(d.defaultDataType)},
        {"previousNames", QJsonArray::fromStringList(d.previousNames)}, {"driverDate", double(d.driverDate)},
        {"driverVersion", QString::number(d.driverVersion)}, {"manufacturer", optionalText(d.manufacturer)},
        {"oemUrl", optionalText(d.oemUrl)}, {"hardwareId", optionalText(d.hardwareId)},
        {"provider", optionalText(d.provider)},
    };
}

QStringList stringList(const QJsonValue& value)
{
    QStringList list;
    for (const QJsonValue& item : value.toArray())
        list.append(item.toString());
    return list;
}

DriverInfo6 driverFromJson(const QJsonObject& o)
{
    DriverInfo6 d;
    d.version = quint32(o.value("version").toDouble());
    d.name = o.value("name").toString();
    d.environment = o.value("environment").toString();
    d.driverPath = o.value("driverPath").toString();
    d.dataFile = o.value("dataFile").toString();
    d.configFile = o.value("configFile").toString();
    d.helpFile = textOf(o.value("helpFile"));
    d.dependentFiles = stringList(o.value("dependentFiles"));
    d.monitorName = textOf(o.value("monitorName"));
    d.defaultDataType = textOf(o.value("defaultDataType"));
    d.previousNames = stringList(o.value("previousNames"));
    d.driverDate = qint64(o.value("driverDate").toDouble());
    d.driverVersion = o.value("driverVersion").toString().toULongLong();
    d.manufacturer = textOf(o.value("manufacturer"));
    d.oemUrl = textOf(o.value("oemUrl"));
    d.hardwareId = textOf(o.value("hardwareId"));
    d.provider = textOf(o.value("provider"));
    return d;
}

QJsonObject printerToJson(const PrinterInfo2& p)
{
    return QJsonObject {
        {"printerName", p.printerName}, {"shareName", optionalText(p.shareName)}, {"portName", p.portName},
        {"driverName", p.driverName}, {"comment", optionalText(p.comment)}, {"location", optionalText(p.location)},
        {"devMode", p.devMode.isNull() ? QJsonValue() : QJsonValue(QString::fromLatin1(p.devMode.toBase64()))},
        {"sepFile", optionalText(p.sepFile)}, {"printProcessor", p.printProcessor}, {"dataType", p.dataType},
        {"parameters", optionalText(p.parameters)}, {"attributes", double(p.attributes)},
        {"priority", double(p.priority)}, {"defaultPriority", double(p.defaultPriority)},
        {"startTime", double(p.startTime)}, {"untilTime", double(p.untilTime)}, {"status", double(p.status)},
    };
}

PrinterInfo2 printerFromJson(const QJsonObject& o)
{
    PrinterInfo2 p;
    p.printerName = o.value("printerName").toString();
    p.shareName = textOf(o.value("shareName"));
    p.portName = o.value("portName").toString();
    p.driverName = o.value("driverName").toString();
    p.comment = textOf(o.value("comment"));
    p.location = textOf(o.value("location"));
    if (o.value("devMode").isString())
        p.devMode = QByteArray::fromBase64(o.value("devMode").toString().toLatin1());
    p.sepFile = textOf(o.value("sepFile"));
    p.printProcessor = o.value("printProcessor").toString();
    p.dataType = o.value("dataType").toString();
    p.parameters = textOf(o.value("parameters"));
    p.attributes = quint32(o.value("attributes").toDouble());
    p.priority = quint32(o.value("priority").toDouble());
    p.defaultPriority = quint32(o.value("defaultPriority").toDouble());
    p.startTime = quint32(o.value("startTime").toDouble());
    p.untilTime = quint32(o.value("untilTime").toDouble());
    p.status = quint32(o.value("status").toDouble());
    return p;
}

QStringList portsOf(const QJsonObject& state)
{
    QStringList ports;
    const QJsonObject monitors = state.value(kMonitors).toObject();
    for (auto it = monitors.begin(); it != monitors.end(); ++it)
        ports += stringList(it->toObject().value("ports"));
    return ports;
}

bool hasDriver(const QJsonObject& state, const QString& name, const QString& environment)
{
    for (const QJsonValue& value : state.value(kDrivers).toArray()) {
        const QJsonObject driver = value.toObject();
        if (driver.value("environment").toString() == environment
            && driver.value("name").toString().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// Checks what a printer record refers to: port, driver (of this machine) and processor.
bool printerReferencesValid(const QJsonObject& state, const PrinterInfo2& printer)
{
    if (!portsOf(state).contains(printer.portName, Qt::CaseInsensitive)) {
        SetLastError(ErrorUnknownPort);
        return false;
    }
    if (!hasDriver(state, printer.driverName, NativeEnvironment())) {
        SetLastError(ErrorUnknownPrinterDriver);
        return false;
    }
    if (printer.printProcessor.compare(QLatin1String("WinPrint"), Qt::CaseInsensitive) != 0) {
        SetLastError(ErrorUnknownPrintProcessor);
        return false;
    }
    return true;
}

bool validPrinterName(const QString& name)
{
    return !name.trimmed().isEmpty() && !name.contains(QLatin1Char(',')) && !name.contains(QLatin1Char('\\'));
}

// The handle's printer record; sets the last error when the handle or printer is gone.
bool printerOfHandle(PrinterHandle handle, const QJsonObject& state, QJsonObject* record)
{
    if (!IsLivePrinterHandle(handle)) {
        SetLastError(ErrorInvalidHandle);
        return false;
    }
    const QJsonValue value = state.value(kPrinters).toObject().value(folded(handle->printerName));
    if (!value.isObject()) {
        SetLastError(ErrorPrinterDeleted);
        return false;
    }
    *record = value.toObject();
    return true;
}

bool hasAccess(PrinterHandle handle, quint32 right)
{
    if ((handle->access & right) != right) {
        SetLastError(ErrorAccessDenied);
        return false;
    }
    return true;
}

// A dependent file is a name beside the driver unless it carries its own folder.
QString dependentSource(const QString& file, const QString& driverPath)
{
    if (QFileInfo(file).isAbsolute())
        return file;
    return QFileInfo(driverPath).absolutePath() + QLatin1Char('/') + file;
}

// `source` is taken by value: callers pass the field that receives the installed path.
bool installFile(const QString source, const QString& folder, quint32 copyFlags, QString* installed)
{
    const QFileInfo from(source);
    *installed = folder + QLatin1Char('/') + from.fileName();
    const QFileInfo to(*installed);
    if (!from.isFile()) {
        SetLastError(ErrorFileNotFound);
        return false;
    }
    const bool keep = (copyFlags & DriverCopyAllFiles) == 0 && (copyFlags & DriverCopyNewFiles) != 0
        && to.exists() && to.lastModified() >= from.lastModified();
    return keep || CopyFile(source, *installed, false);
}

QStringList filesOf(const DriverInfo6& driver)
{
    QStringList files = {driver.driverPath, driver.dataFile, driver.configFile};
    if (!driver.helpFile.isEmpty())
        files.append(driver.helpFile);
    files += driver.dependentFiles;
    return files;
}

int countJobs(const QString& printerName)
{
    return QDir(SpoolJobFolder(printerName)).entryList({QStringLiteral("*.spl")}, QDir::Files).size();
}

} // namespace

QString NativeEnvironment()
{
    return IsNative64Bit() ? QStringLiteral("Windows x64") : QStringLiteral("Windows NT x86");
}

bool EnumMonitors(QList<MonitorInfo1>* monitors, qsizetype bufferSize)
{
    QJsonObject state;
    if (!readState(&state))
        return false;
    QList<MonitorInfo1> list;
    qsizetype needed = 0;
    const QJsonObject records = state.value(kMonitors).toObject();
    for (auto it = records.begin(); it != records.end(); ++it) {
        const QString name = it->toObject().value("name").toString();
        list.append({name});
        needed += qsizetype(sizeof(void*)) + name.toLocal8Bit().size() + 1;
    }
    if (needed > bufferSize) {
        SetLastError(ErrorInsufficientBuffer);
        return false;
    }
    *monitors = list;
    SetLastError(ErrorSuccess);
    return true;
}

bool AddMonitor(const MonitorInfo2& monitor)
{
    if (monitor.name.isEmpty() || monitor.dllName.isEmpty() || monitor.dllName.contains(QLatin1Char('/'))) {
        SetLastError(ErrorInvalidParameter);
        return false;
    }
    const QString environment = resolveEnvironment(monitor.environment);
    if (environment.isEmpty())
        return false;
    if (environment != NativeEnvironment()) {
        SetLastError(ErrorInvalidEnvironment);
        return false;
    }
    return changeState([&](QJsonObject& state) {
        QJsonObject records = state.value(kMonitors).toObject();
        if (records.contains(folded(monitor.name))) {
            SetLastError(ErrorPrintMonitorAlreadyInstalled);
            return false;
        }
        QStringList ports;
        if (!QueryMonitorPorts(SystemFolder() + QLatin1Char('/') + monitor.dllName, &ports))
            return false;
        records.insert(folded(monitor.name),
                       QJsonObject {{"name", monitor.name}, {"environment", environment},
                                    {"dll", monitor.dllName}, {"ports", QJsonArray::fromStringList(ports)}});
        state.insert(kMonitors, records);
        return true;
    });
}

bool DeleteMonitor(const QString& environment, const QString& name)
{
    const QString resolved = resolveEnvironment(environment);
    if (resolved.isEmpty())
        return false;
    return changeState([&](QJsonObject& state) {
        QJsonObject records = state.value(kMonitors).toObject();
        const QJsonObject record = records.value(folded(name)).toObject();
        if (record.isEmpty() || record.value("environment").toString() != resolved) {
            SetLastError(ErrorUnknownPrintMonitor);
            return false;
        }
        const QStringList ports = stringList(record.value("ports"));
        const QJsonObject printers = state.value(kPrinters).toObject();
        for (auto it = printers.begin(); it != printers.end(); ++it) {
            if (ports.contains(it->toObject().value("portName").toString(), Qt::CaseInsensitive)) {
                SetLastError(ErrorPrintMonitorInUse);
                return false;
            }
        }
        records.remove(folded(name));
        state.insert(kMonitors, records);
        return true;
    });
}

bool EnumPorts(QStringList* ports)
{
    QJsonObject state;
    if (!readState(&state))
        return false;
    *ports = portsOf(state);
    SetLastError(ErrorSuccess);
    return true;
}

bool GetPrinterDriverDirectory(const QString& environment, QString* directory)
{
    const QString resolved = resolveEnvironment(environment);
    if (resolved.isEmpty() || !spoolerAvailable())
        return false;
    const QString folder = driverDirectory(resolved);
    if (!QDir().mkpath(folder)) {
        SetLastError(ErrorAccessDenied);
        return false;
    }
    *directory = folder;
    SetLastError(ErrorSuccess);
    return true;
}

bool AddPrinterDriverEx(const DriverInfo6& driver, quint32 copyFlags)
{
    if (driver.name.isEmpty() || driver.driverPath.isEmpty() || driver.dataFile.isEmpty()
        || driver.configFile.isEmpty() || driver.version > 4) {
        SetLastError(ErrorInvalidParameter);
        return false;
    }
    const QString environment = resolveEnvironment(driver.environment);
    if (environment.isEmpty() || !spoolerAvailable())
        return false;
    // Installed drivers live in a folder per version inside the driver directory.
    const QString folder = driverDirectory(environment) + QLatin1Char('/') + QString::number(driver.version);
    if (!QDir().mkpath(folder)) {
        SetLastError(ErrorAccessDenied);
        return false;
    }
    DriverInfo6 installed = driver;
    installed.environment = environment;
    if (installed.defaultDataType.isNull())
        installed.defaultDataType = QStringLiteral("RAW");
    QString* mainFiles[] = {&installed.driverPath, &installed.dataFile, &installed.configFile, &installed.helpFile};
    for (QString* file : mainFiles) {
        if (!file->isEmpty() && !installFile(*file, folder, copyFlags, file))
            return false;
    }
    for (QString& file : installed.dependentFiles) {
        if (!installFile(dependentSource(file, driver.driverPath), folder, copyFlags, &file))
            return false;
    }
    return changeState([&](QJsonObject& state) {
        QJsonArray drivers;
        for (const QJsonValue& value : state.value(kDrivers).toArray()) {
            const DriverInfo6 other = driverFromJson(value.toObject());
            const bool same = other.environment == environment && other.version == driver.version
                && other.name.compare(driver.name, Qt::CaseInsensitive) == 0;
            if (!same)
                drivers.append(value);
        }
        drivers.append(driverToJson(installed));
        state.insert(kDrivers, drivers);
        return true;
    });
}

bool EnumPrinterDrivers(const QString& environment, QList<DriverInfo6>* drivers)
{
    const QString resolved = resolveEnvironment(environment);
    QJsonObject state;
    if (resolved.isEmpty() || !readState(&state))
        return false;
    drivers->clear();
    for (const QJsonValue& value : state.value(kDrivers).toArray()) {
        DriverInfo6 driver = driverFromJson(value.toObject());
        if (driver.environment == resolved)
            drivers->append(driver);
    }
    SetLastError(ErrorSuccess);
    return true;
}

bool DeletePrinterDriverEx(const QString& environment, const QString& driverName, quint32 deleteFlags,
                           quint32 version)
{
    const QString resolved = resolveEnvironment(environment);
    if (resolved.isEmpty())
        return false;
    QStringList removedFiles;
    QStringList keptFiles;
    const bool done = changeState([&](QJsonObject& state) {
        QJsonArray kept;
        QList<DriverInfo6> removed;
        for (const QJsonValue& value : state.value(kDrivers).toArray()) {
            const DriverInfo6 driver = driverFromJson(value.toObject());
            const bool match = driver.environment == resolved
                && driver.name.compare(driverName, Qt::CaseInsensitive) == 0
                && ((deleteFlags & DriverDeleteSpecificVersion) == 0 || driver.version == version);
            if (match)
                removed.append(driver);
            else
                kept.append(value);
        }
        if (removed.isEmpty()) {
            SetLastError(ErrorUnknownPrinterDriver);
            return false;
        }
        const QJsonObject printers = state.value(kPrinters).toObject();
        for (auto it = printers.begin(); resolved == NativeEnvironment() && it != printers.end(); ++it) {
            if (it->toObject().value("driverName").toString().compare(driverName, Qt::CaseInsensitive) == 0) {
                SetLastError(ErrorPrinterDriverInUse);
                return false;
            }
        }
        for (const DriverInfo6& driver : removed)
            removedFiles += filesOf(driver);
        for (const QJsonValue& value : kept)
            keptFiles += filesOf(driverFromJson(value.toObject()));
        state.insert(kDrivers, kept);
        return true;
    });
    if (done && (deleteFlags & (DriverDeleteAllFiles | DriverDeleteUnusedFiles))) {
        for (const QString& file : removedFiles) {
            if (!keptFiles.contains(file))
                QFile::remove(file);
        }
        SetLastError(ErrorSuccess);
    }
    return done;
}

PrinterHandle AddPrinter(const PrinterInfo2& printer)
{
    if (!validPrinterName(printer.printerName)) {
        SetLastError(ErrorInvalidPrinterName);
        return nullptr;
    }
    PrinterInfo2 record = printer;
    record.serverName = QString();
    if (record.dataType.isNull())
        record.dataType = QStringLiteral("RAW");
    record.attributes |= PrinterAttributeLocal;
    record.status = 0;
    const bool done = changeState([&](QJsonObject& state) {
        QJsonObject printers = state.value(kPrinters).toObject();
        if (printers.contains(folded(printer.printerName))) {
            SetLastError(ErrorPrinterAlreadyExists);
            return false;
        }
        if (!printerReferencesValid(state, record))
            return false;
        printers.insert(folded(printer.printerName), printerToJson(record));
        state.insert(kPrinters, printers);
        return true;
    });
    return done ? NewPrinterHandle(printer.printerName, PrinterAllAccess) : nullptr;
}

bool OpenPrinter(const QString& name, PrinterHandle* handle, const PrinterDefaults* defaults)
{
    *handle = nullptr;
    static const QRegularExpression jobForm(QStringLiteral("^(.*),Job (\\d+)$"));
    const QRegularExpressionMatch job = jobForm.match(name);
    const QString printerName = job.hasMatch() ? job.captured(1) : name;
    QJsonObject state;
    if (!readState(&state))
        return false;
    const QJsonObject record = state.value(kPrinters).toObject().value(folded(printerName)).toObject();
    if (printerName.isEmpty() || record.isEmpty()) {
        SetLastError(ErrorInvalidPrinterName);
        return false;
    }
    const QString storedName = record.value("printerName").toString();
    quint32 jobId = 0;
    if (job.hasMatch()) {
        jobId = job.captured(2).toUInt();
        if (jobId == 0 || !QFile::exists(SpoolJobFile(storedName, jobId))) {
            SetLastError(ErrorInvalidParameter);
            return false;
        }
    }
    const quint32 access = defaults && defaults->desiredAccess ? defaults->desiredAccess : PrinterAccessUse;
    *handle = NewPrinterHandle(storedName, access, jobId);
    SetLastError(ErrorSuccess);
    return true;
}

bool GetPrinter(PrinterHandle handle, PrinterInfo2* printer)
{
    QJsonObject state;
    QJsonObject record;
    if (!readState(&state) || !printerOfHandle(handle, state, &record))
        return false;
    *printer = printerFromJson(record);
    printer->jobs = quint32(countJobs(printer->printerName));
    SetLastError(ErrorSuccess);
    return true;
}

bool SetPrinter(PrinterHandle handle, const PrinterInfo2& printer)
{
    if (IsLivePrinterHandle(handle) && !hasAccess(handle, PrinterAccessAdminister))
        return false;
    QString renamedFrom;
    const bool done = changeState([&](QJsonObject& state) {
        QJsonObject current;
        if (!printerOfHandle(handle, state, &current))
            return false;
        QJsonObject printers = state.value(kPrinters).toObject();
        const QString oldId = folded(handle->printerName);
        const QString newId = folded(printer.printerName);
        if (!validPrinterName(printer.printerName)) {
            SetLastError(ErrorInvalidPrinterName);
            return false;
        }
        if (newId != oldId && printers.contains(newId)) {
            SetLastError(ErrorPrinterAlreadyExists);
            return false;
        }
        PrinterInfo2 record = printer;
        record.serverName = QString();
        if (record.dataType.isNull())
            record.dataType = current.value("dataType").toString();
        if (!printerReferencesValid(state, record))
            return false;
        printers.remove(oldId);
        printers.insert(newId, printerToJson(record));
        state.insert(kPrinters, printers);
        if (record.printerName != handle->printerName)
            renamedFrom = handle->printerName;
        return true;
    });
    if (done && !renamedFrom.isEmpty()) {
        QDir().rename(SpoolJobFolder(renamedFrom), SpoolJobFolder(printer.printerName));
        handle->printerName = printer.printerName;
        SetLastError(ErrorSuccess);
    }
    return done;
}

bool GetPrinterDriver(PrinterHandle handle, const QString& environment, DriverInfo6* driver)
{
    const QString resolved = resolveEnvironment(environment);
    QJsonObject state;
    QJsonObject record;
    if (resolved.isEmpty() || !readState(&state) || !printerOfHandle(handle, state, &record))
        return false;
    const QString name = record.value("driverName").toString();
    bool found = false;
    for (const QJsonValue& value : state.value(kDrivers).toArray()) {
        const DriverInfo6 candidate = driverFromJson(value.toObject());
        if (candidate.environment == resolved && candidate.name.compare(name, Qt::CaseInsensitive) == 0
            && (!found || candidate.version > driver->version)) {
            *driver = candidate;
            found = true;
        }
    }
    SetLastError(found ? ErrorSuccess : ErrorUnknownPrinterDriver);
    return found;
}

bool DeletePrinter(PrinterHandle handle)
{
    if (IsLivePrinterHandle(handle) && !hasAccess(handle, PrinterAccessDelete))
        return false;
    const bool done = changeState([&](QJsonObject& state) {
        QJsonObject record;
        if (!printerOfHandle(handle, state, &record))
            return false;
        QJsonObject printers = state.value(kPrinters).toObject();
        printers.remove(folded(handle->printerName));
        state.insert(kPrinters, printers);
        return true;
    });
    if (done) {
        QDir(SpoolJobFolder(handle->printerName)).removeRecursively();
        SetLastError(ErrorSuccess);
    }
    return done;
}

bool ClosePrinter(PrinterHandle handle)
{
    // Closing frees the handle even while the spooler is away.
    if (!ReleasePrinterHandle(handle)) {
        SetLastError(ErrorInvalidHandle);
        return false;
    }
    SetLastError(ErrorSuccess);
    return true;
}

QString SpoolJobFolder(const QString& printerName)
{
    const QString id = QString::fromLatin1(QUrl::toPercentEncoding(folded(printerName)));
    return PlatformRoot() + QStringLiteral("/spooler/jobs/") + id;
}

QString SpoolJobFile(const QString& printerName, quint32 jobId)
{
    return SpoolJobFolder(printerName) + QLatin1Char('/') + QString::number(jobId) + QStringLiteral(".spl");
}

} // namespace platform
