#pragma once
// "목차 추가": the table-of-contents label of a new chapter, and a chapter file name that is
// still free in the folder of the reference path (the NCX file's folder).
#include <QDialog>
#include <QString>

class QLineEdit;

class CAddContentsDlg : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString referencePath READ GetReferencePath)
public:
    explicit CAddContentsDlg(QWidget* parent = nullptr);

    void SetReferencePath(const QString& path) { m_strReferencePath = path; }
    QString GetReferencePath() const { return m_strReferencePath; }
    QString GetLabel() const { return m_strLabel; }
    // "content000" without an extension, or the first free "Contents%03d.xhtml".
    QString GetFileName() const { return m_strFileName; }

    // The proposal for a folder ending in "/".
    static QString ProposeFileName(const QString& folder);

    void accept() override;

private:
    QString m_strReferencePath;
    QString m_strLabel;
    QString m_strFileName;
    QLineEdit* m_pLabel = nullptr;
};
