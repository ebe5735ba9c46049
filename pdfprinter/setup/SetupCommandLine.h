#pragma once
// The installer's command line. Each argument starting with "/" or "-" is a switch whose
// rest is compared whole and case-sensitively: "i", "r", "u", or "s /<folder>" (switch
// and folder in one argument). The action follows i > r > u > s whatever the order.
#include <QString>
#include <QStringList>

class CSetupCommandLine {
public:
    enum Action { ActionNone, ActionInstall, ActionReinstall, ActionUninstall, ActionInstallFrom };

    void Parse(const QStringList& arguments);

    Action GetAction() const;
    // The folder of the "s /<folder>" switch (the last one given).
    const QString& GetFolder() const { return m_strFolder; }

private:
    bool m_bInstall = false;
    bool m_bReinstall = false;
    bool m_bUninstall = false;
    bool m_bInstallFrom = false;
    QString m_strFolder;
};
