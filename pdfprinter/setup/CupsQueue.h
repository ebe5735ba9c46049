#pragma once
// The "Corvel_PDF" queue of the CUPS print server ("Corvel PDF" in print dialogs), through
// which Linux applications print to the printer. An install adds it with the backend kvxpdf
// and the PPD CorvelPDF.ppd from the source folder's "cups" subfolder; an uninstall
// removes it. The server is the one CUPS's own tools use (CUPS_SERVER, else the local
// one); without a server the queue is skipped. Results go to the log only: the printer
// itself does not depend on them.
#include <QString>

class CSetupLog;

class CCupsQueue {
public:
    explicit CCupsQueue(CSetupLog& log) : m_log(log) {}

    void Add(const QString& sourceFolder);
    void Remove();

    static QString QueueName();  // "Corvel_PDF"
    static QString DeviceUri();  // "kvxpdf:/": each user's own PDF folder
    // Where CUPS looks for backends: $CUPS_SERVERBIN/backend, else /usr/lib/cups/backend.
    static QString BackendFolder();

private:
    bool InstallBackend(const QString& sourceFolder);

    CSetupLog& m_log;
};
