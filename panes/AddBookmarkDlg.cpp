#include "panes/AddBookmarkDlg.h"

#include "panes/LabelDialogLayout.h"
#include "panes/PaneTexts.h"

#include <QLineEdit>

CAddBookmarkDlg::CAddBookmarkDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CAddBookmarkDlg"));
    setWindowTitle(panetexts::AddBookmarkCaption());
    m_pLabel = BuildLabelDialog(*this, panetexts::BookmarkLabel(), QStringLiteral("bookmarkLabel"));
}

void CAddBookmarkDlg::accept()
{
    m_strLabel = m_pLabel->text();
    QDialog::accept();
}
