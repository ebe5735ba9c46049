#pragma once
// A CUPS print server of the test's own: cupsd with a private configuration in a scratch
// folder, listening on a socket there and on a loopback port, started and stopped by the
// test. Its backends folder holds what the test (or pdfsetup) puts there; filters and the
// rest come from the machine's CUPS.
#include <QProcess>
#include <QString>
#include <QStringList>

class PrivateCups {
public:
    PrivateCups();
    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Empty when the server runs, else why not.
    const QString& problem() const { return m_problem; }

    QString folder() const { return m_folder; }
    QString socket() const { return m_folder + "/cups.sock"; }
    QString serverBin() const { return m_folder + "/serverbin"; }
    QString errorLog() const;
    int port() const { return m_port; }

    // Runs a CUPS client tool against this server; returns its exit status, with its output.
    int run(const QString& tool, const QStringList& arguments, QString* output = nullptr) const;
    // Waits until the queue has no job left to do; false after timeoutMs.
    bool waitUntilIdle(const QString& queue, int timeoutMs) const;

private:
    QString m_folder;
    int m_port = 0;
    QProcess m_cupsd;
    QString m_problem;
};
