#pragma once
// "북마크 추가": the table-of-contents label of a new bookmark entry; an empty one is taken.
#include <QDialog>
#include <QString>

class QLineEdit;

class CAddBookmarkDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAddBookmarkDlg(QWidget* parent = nullptr);

    QString GetLabel() const { return m_strLabel; }

    void accept() override;

private:
    QString m_strLabel;
    QLineEdit* m_pLabel = nullptr;
};
