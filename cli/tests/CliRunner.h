#pragma once
// Runs the real lindar-cli for the end-to-end tests, and finds the shared corpus.
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

struct CliRun {
    int exitCode = -1; // -1 when the program crashed or did not finish
    QByteArray out;
    QString err;
    QJsonObject json() const;
};

CliRun runCli(const QStringList& arguments);

// The shared corpus sits beside the checkout; KVX_CORPUS_DIR points elsewhere.
QString corpusFolder();
