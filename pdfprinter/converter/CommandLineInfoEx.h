#pragma once
// The converter's command line: the last argument decides the mode.
#include <QString>
#include <QStringList>

class CommandLineInfoEx {
public:
    enum ConvertMode { MODE_DEFAULT = 0, MODE_SAVE_AS = 1, MODE_SILENT = 2 };

    // Arguments without the program name.
    void ParseCommandLine(const QStringList& arguments);
    // One argument; bFlag when it started with "/" or "-" (removed from pszParam).
    void ParseParam(const QString& pszParam, bool bFlag, bool bLast);

    int m_nConvertMode = MODE_DEFAULT;
    QString m_strFileName; // a plain argument, kept as the standard parsing would; unused
};
