#include "SetupFixture.h"

#include "platform/core/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>

const QString SetupFixture::kProductKey = QStringLiteral("SOFTWARE\\Kvx\\Shared\\Install Information\\Pressa2007");
const QString SetupFixture::kRunOnceKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce");

namespace {

const char* const kDriverSideFiles[] = {"KVXE2PPRDRV.dll", "KVXE2PPRUI.dll", "KVXE2PPRCONV.exe", "KVXE2PT32.dll",
                                        "KVXE2PPRMON.dll"};

} // namespace

void SetupFixture::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    const QString base = QFileInfo(m_dir.path()).canonicalFilePath();
    m_root = base + "/root";
    m_temp = base + "/tmp";
    m_source = base + "/source";
    QDir().mkpath(m_root);
    QDir().mkpath(m_temp);
    m_savedRoot = qgetenv("KVX_PLATFORM_ROOT");
    m_savedTemp = qgetenv("TMPDIR");
    m_savedCupsServer = qgetenv("CUPS_SERVER");
    qputenv("KVX_PLATFORM_ROOT", QFile::encodeName(m_root));
    qputenv("TMPDIR", QFile::encodeName(m_temp));
    // No print server: whatever the machine runs, the CUPS queue step only logs that.
    qputenv("CUPS_SERVER", QFile::encodeName(m_temp + "/no-cups.sock"));

    for (const char* arch : {"x86", "x64"}) {
        const QString folder = m_source + "/" + arch;
        QDir().mkpath(folder);
        for (const char* file : kDriverSideFiles) {
            const QString built = QStringLiteral(KVX_BIN_DIR "/%1/%2").arg(arch, file);
            if (QFile::exists(built)) {
                ASSERT_TRUE(QFile::copy(built, folder + "/" + file)) << file;
            } else {
                // The converter and the transcoder are not part of every build; the
                // installer only copies and registers them.
                QFile stand(folder + "/" + file);
                ASSERT_TRUE(stand.open(QIODevice::WriteOnly));
                stand.write(file);
            }
        }
    }
}

void SetupFixture::TearDown()
{
    qputenv("KVX_PLATFORM_ROOT", m_savedRoot);
    qputenv("TMPDIR", m_savedTemp);
    if (m_savedCupsServer.isNull())
        qunsetenv("CUPS_SERVER");
    else
        qputenv("CUPS_SERVER", m_savedCupsServer);
}

int SetupFixture::RunSetup(const QStringList& arguments, const QString& workingFolder)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KVX_PLATFORM_ROOT", m_root);
    environment.insert("TMPDIR", m_temp);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingFolder.isEmpty() ? m_source : workingFolder);
    process.start(QStringLiteral(KVX_BIN_DIR "/pdfsetup"), arguments);
    if (!process.waitForFinished(60000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
}

QString SetupFixture::ReadTextFile(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.readAll());
}

QStringList SetupFixture::LastLogSection() const
{
    const QString log = ReadTextFile(m_temp + "/PrinterSetup.log");
    const qsizetype start = log.lastIndexOf("---------------Start\n");
    if (start < 0)
        return {};
    QStringList lines = log.mid(start).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    // UTC time, numbers without leading zeros.
    static const QRegularExpression time(
        R"(^Time : \d{4}\.[1-9]\d?\.[1-9]\d? - (0|[1-9]\d?):(0|[1-9]\d?):(0|[1-9]\d?)$)");
    if (lines.size() > 1 && time.match(lines[1]).hasMatch())
        lines[1] = "Time : <T>";
    return lines;
}

QString SetupFixture::Environment() const
{
    // From what the kernel says this machine is, not from the installer's own reading.
    static const QStringList sixtyFourBit {"x86_64", "arm64", "ia64"};
    return sixtyFourBit.contains(QSysInfo::currentCpuArchitecture()) ? QStringLiteral("Windows x64")
                                                                     : QStringLiteral("Windows NT x86");
}

QString SetupFixture::Sub() const { return Environment() == "Windows x64" ? "x64" : "x86"; }

QStringList SetupFixture::Header() const
{
    return {"---------------Start", "Time : <T>", "-" + Environment()};
}

QString SetupFixture::DriverDirectory() const
{
    return m_root + "/Windows/System32/spool/drivers/" + (Sub() == "x64" ? "x64" : "W32X86");
}

QString SetupFixture::ReadValue(const QString& key, const QString& name, bool* found)
{
    QString text;
    const bool ok = platform::Registry::readText(platform::RegistryHive::LocalMachine, key, name, &text);
    if (found)
        *found = ok;
    return text;
}
