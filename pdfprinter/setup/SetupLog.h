#pragma once
// The installer's log, "PrinterSetup.log" in the user's temporary folder: one section per
// run, a line per step. Entries are written at once so that a run that dies still leaves
// its steps behind.
#include <QFile>
#include <QString>
#include <QtGlobal>

class CSetupLog {
public:
    // Opens the log for appending (creating it) and writes the section header.
    CSetupLog();

    // A plain entry: "-" + text.
    void Write(const QString& text);
    // An error entry for `code`: "-" + context, then "Error Message--<code> --- <system
    // text>". Codes the system has no text for write nothing.
    void WriteError(const QString& context, quint32 code);

    static QString LogFileName();

private:
    void WriteLine(const QString& line);

    QFile m_file;
};
