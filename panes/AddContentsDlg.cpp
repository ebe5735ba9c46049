#include "panes/AddContentsDlg.h"

#include "panes/LabelDialogLayout.h"
#include "panes/PaneTexts.h"

#include <QFileInfo>
#include <QLineEdit>

CAddContentsDlg::CAddContentsDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CAddContentsDlg"));
    setWindowTitle(panetexts::AddContentsCaption());
    m_pLabel = BuildLabelDialog(*this, panetexts::ContentsLabel(), QStringLiteral("contentsLabel"));
}

QString CAddContentsDlg::ProposeFileName(const QString& folder)
{
    const QString first = QStringLiteral("content000");
    if (!QFileInfo::exists(folder + first + QStringLiteral(".xhtml")))
        return first;
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("Contents%1.xhtml").arg(n, 3, 10, QLatin1Char('0'));
        if (!QFileInfo::exists(folder + name))
            return name;
    }
}

void CAddContentsDlg::accept()
{
    const QString label = m_pLabel->text();
    if (label.isEmpty())
        return; // the dialog stays open, without a word
    m_strLabel = label;
    const int slash = m_strReferencePath.lastIndexOf(QLatin1Char('/'));
    m_strFileName = ProposeFileName(m_strReferencePath.left(slash + 1));
    QDialog::accept();
}
