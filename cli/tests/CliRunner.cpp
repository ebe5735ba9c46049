#include "cli/tests/CliRunner.h"

#include <QDir>
#include <QJsonDocument>
#include <QProcess>

QJsonObject CliRun::json() const { return QJsonDocument::fromJson(out).object(); }

CliRun runCli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(KVX_BIN_DIR "/lindar-cli"), arguments);
    CliRun run;
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
