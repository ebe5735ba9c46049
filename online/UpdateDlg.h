#pragma once
// The update dialog: shows the current and the new version with the server's notes, and
// offers the new installer's download address.
#include <QDialog>
#include <QStringList>

class CStaticLink;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class CUpdateDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 346;
    static constexpr int kOkResult = 1;
    static constexpr int kCancelResult = 2;
    static constexpr int kDownloadResult = 200; // the user chose Download; the owner is closing

    // The owner is the editor's main window: Download asks it to close.
    explicit CUpdateDlg(QWidget* owner = nullptr);

    // The update check fills this: version, download address, date and notes of the newest
    // release, then the built-in version.
    QStringList& Fields() { return m_arrFields; }

    const QString& CurrentVersion() const { return m_strCurrentVersion; }
    const QString& NewVersion() const { return m_strNewVersion; }
    const QString& DownloadUrl() const { return m_strDownloadUrl; }
    const QString& Message() const { return m_strMessage; }

    void accept() override;
    void reject() override;

public slots:
    // Opens the download address, ends the dialog with kDownloadResult and asks the owner
    // window to close.
    void OnDownload();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void OnInitDialog();

    QStringList m_arrFields;
    QString m_strCurrentVersion;
    QString m_strNewVersion;
    QString m_strDownloadUrl;
    QString m_strMessage;
    bool m_bInitialized = false;

    QLabel* m_currentVersion = nullptr;  // control 1009
    QLabel* m_newVersion = nullptr;      // control 1010
    CStaticLink* m_linkDownload = nullptr; // control 1012
    QPlainTextEdit* m_editMessage = nullptr; // control 1013
    QPushButton* m_btnDownload = nullptr;  // control 1008
};
