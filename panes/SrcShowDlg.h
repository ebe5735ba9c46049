#pragma once
// "소스보기" and its kin: a modal window that shows one file of the book (a chapter, the
// package document, the NCX) as coloured HTML source. Nothing typed in it is saved.
#include <QBasicTimer>
#include <QDialog>
#include <QString>

class CFastHtmlRichEditCtrl;

class CSrcShowDlg : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString filePath READ GetFilePath)
public:
    static constexpr int kLoadDelayMs = 100;

    explicit CSrcShowDlg(QWidget* parent = nullptr);

    // An empty caption keeps the window's empty title.
    void SetCaption(const QString& caption);
    void SetFilePath(const QString& path) { m_strFilePath = path; }
    QString GetFilePath() const { return m_strFilePath; }
    CFastHtmlRichEditCtrl& Control() const { return *m_pText; }
    // The file has been read into the control.
    bool IsLoaded() const { return m_bLoaded; }

signals:
    void loaded();

protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void LoadFile();

    QString m_strFilePath;
    CFastHtmlRichEditCtrl* m_pText = nullptr;
    QBasicTimer m_loadTimer;
    bool m_bLoaded = false;
};
