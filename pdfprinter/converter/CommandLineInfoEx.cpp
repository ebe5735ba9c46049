#include "pdfprinter/converter/CommandLineInfoEx.h"

void CommandLineInfoEx::ParseCommandLine(const QStringList& arguments)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const bool flag = argument.startsWith(u'/') || argument.startsWith(u'-');
        ParseParam(flag ? argument.mid(1) : argument, flag, i + 1 == arguments.size());
    }
}

void CommandLineInfoEx::ParseParam(const QString& pszParam, bool bFlag, bool /*bLast*/)
{
    if (!bFlag) {
        m_nConvertMode = MODE_DEFAULT;
        if (m_strFileName.isEmpty())
            m_strFileName = pszParam;
        return;
    }
    const QChar letter = pszParam.isEmpty() ? QChar() : pszParam.at(0).toUpper();
    if (letter == u'S')
        m_nConvertMode = MODE_SAVE_AS;
    else if (letter == u'X')
        m_nConvertMode = MODE_SILENT;
    else
        m_nConvertMode = MODE_DEFAULT;
}
