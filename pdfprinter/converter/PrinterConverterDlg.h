#pragma once
// The converter's one window: progress of the conversion run, Cancel, and Open after
// success. In silent mode it never shows and relays every notification to the starter.
#include "platform/core/MessageWindow.h"

#include <QDialog>
#include <QEventLoop>
#include <QIcon>
#include <QString>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;
struct _tagCONVERT_JOB;
struct _tagPROGRESS_INFO;

class CPrinterConverterDlg : public QDialog, public platform::MessageWindow {
    Q_OBJECT
public:
    enum { IDD = 102 };
    enum ControlId {
        IDC_PROGRESS = 1001,
        IDC_DOCUMENT_NAME = 1005,
        IDC_STATUS = 1006,
        IDC_PDF_FOLDER = 1007,
        IDC_PDF_NAME = 1013,
        IDC_CANCEL = 1014,
        IDC_OPEN = 1015,
    };
    enum DialogResult { IDOK = 1, IDCANCEL = 2 };
    enum TimerId { TIMER_CONVERT = 1, TIMER_FLASH = 2 };
    enum ActivationState { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };
    // How many counted toggles the caption flashes before the timer stops.
    static constexpr unsigned kFlashLimit = 20;

    // The job block is not owned and may be null (default mode: no job).
    CPrinterConverterDlg(_tagCONVERT_JOB* pJob, bool bInteractive, QWidget* pOwner);
    ~CPrinterConverterDlg() override;

    // Runs the dialog until it ends; returns IDOK or IDCANCEL.
    int DoModal();
    void EndDialog(int nResult);

    // The window the transcoder talks to.
    platform::LRESULT sendMessage(unsigned message, platform::WPARAM wParam, platform::LPARAM lParam) override;
    void dispatchPending() override;
    // The value this window is known by to other processes (sender of relayed messages).
    quint32 WindowHandleValue() const;

    // Message handlers, public so that the run and tests can reach them as messages would.
    platform::LRESULT OnConvertProgress(platform::WPARAM kind, platform::LPARAM info);
    void OnBnClickedCancel();
    void OnBnClickedOpen();
    void OnTimer(int nIDEvent);
    void OnActivate(int nState);

    // The output file was made empty for this job (it did not exist before): an aborted
    // conversion removes it again. A file that was there before is never removed.
    void SetOutputFileCreated(bool created) { m_bOutputCreated = created; }

    // Called by the conversion run when it ends: reset the count and flash at the caret rate.
    void StartFlashing();
    // Called by the conversion run when the job cannot be read: report and end.
    void OnJobUnreadable();

    QWidget* GetDlgItem(int id) const;
    bool IsDone() const { return m_bDone; }
    bool IsInteractive() const { return m_bInteractive; }
    bool IsFlashTimerActive() const { return m_flashTimer.isActive(); }
    unsigned FlashCount() const { return m_nFlashCount; }
    int CaptionToggleCount() const { return m_nCaptionToggles; }
    bool IsEnded() const { return m_bEnded; }
    // PROGRESS_DONE arrived: the PDF is complete.
    bool IsConverted() const { return m_bConverted; }
    int Result() const { return m_nResult; }

    // The three name lines for a document name and an output path, as shown on BEGIN.
    static QString DocumentLine(const QString& documentName);
    static QString PdfNameLine(const QString& outputPath);
    static QString PdfFolderLine(const QString& outputPath);
    static constexpr int kCompactLength = 44;

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;
    void accept() override;

private:
    void OnInitDialog();
    void UpdateData(bool bSaveAndValidate);
    void ReactInteractive(unsigned kind, const _tagPROGRESS_INFO* info);
    void ReactSilent(unsigned kind);
    void Relay(unsigned kind, const _tagPROGRESS_INFO* info);
    void DeleteOutputFile();
    void FlashCaption();
    QString OutputPath() const;

    unsigned m_nFlashCount = 0;
    int m_nActivationState = WA_INACTIVE;
    bool m_bDone = false;
    bool m_bInteractive;
    QIcon m_hIcon;
    _tagCONVERT_JOB* m_pJob;
    QWidget* m_pOwner;

    QProgressBar* m_ctrlProgress = nullptr;
    QString m_strDocumentName;
    QString m_strPdfName;
    QString m_strPdfFolder;
    QString m_strStatus;
    QPushButton* m_btnOpen = nullptr;
    QPushButton* m_btnCancel = nullptr;
    QLabel* m_lblDocumentName = nullptr;
    QLabel* m_lblPdfName = nullptr;
    QLabel* m_lblPdfFolder = nullptr;
    QLabel* m_lblStatus = nullptr;

    QTimer m_convertTimer;
    QTimer m_flashTimer;
    QEventLoop m_loop;
    int m_nResult = IDCANCEL;
    bool m_bEnded = false;
    bool m_bConverted = false;
    bool m_bOutputCreated = false;
    bool m_bCaptionHighlighted = false;
    int m_nCaptionToggles = 0;
};
