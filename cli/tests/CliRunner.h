#pragma once
// Runs the real lindar-cli for the end-to-end tests.
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable lists of names in failure messages.
inline void PrintTo(const QStringList& names, std::ostream* out) { *out << '{' << names.join(", ").toStdString() << '}'; }

struct CliRun {
    int exitCode = -1; // -1 when the program crashed or did not finish
    QByteArray out;
    QString err;
    QJsonObject json() const;
};

CliRun runCli(const QStringList& arguments);
