#include "pdfprinter/setup/SetupCommandLine.h"

void CSetupCommandLine::Parse(const QStringList& arguments)
{
    static const QString folderSwitch = QStringLiteral("s /");
    for (const QString& argument : arguments) {
        if (!argument.startsWith(QLatin1Char('/')) && !argument.startsWith(QLatin1Char('-')))
            continue;
        const QString text = argument.mid(1);
        if (text == QLatin1String("i")) {
            m_bInstall = true;
        } else if (text == QLatin1String("r")) {
            m_bReinstall = true;
        } else if (text == QLatin1String("u")) {
            m_bUninstall = true;
        } else if (text.startsWith(folderSwitch)) {
            m_bInstallFrom = true;
            m_strFolder = text.mid(folderSwitch.size());
        }
    }
}

CSetupCommandLine::Action CSetupCommandLine::GetAction() const
{
    if (m_bInstall)
        return ActionInstall;
    if (m_bReinstall)
        return ActionReinstall;
    if (m_bUninstall)
        return ActionUninstall;
    if (m_bInstallFrom)
        return ActionInstallFrom;
    return ActionNone;
}
