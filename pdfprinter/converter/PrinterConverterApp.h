#pragma once
// The converter program: takes one print job handed over by its starter, decides where the
// PDF goes, runs the progress dialog (which runs the conversion) and removes the job when
// it ends.
#include "pdfprinter/converter/CommandLineInfoEx.h"
#include "pdfprinter/converter/OutputPath.h"

#include <QStringList>

#include <memory>

struct _tagCONVERT_JOB;
class CPrinterConverterDlg;
class QWidget;

class CPrinterConverterApp {
public:
    CPrinterConverterApp();
    // Removes the job from the spooler when a block was copied, whatever the outcome.
    ~CPrinterConverterApp();
    CPrinterConverterApp(const CPrinterConverterApp&) = delete;
    CPrinterConverterApp& operator=(const CPrinterConverterApp&) = delete;

    // Runs the whole program; false when it ends (which is always so once a job was taken).
    bool InitInstance(const QStringList& arguments);

    // The dialog's end result, IDOK or IDCANCEL; 0 when no dialog ran.
    int DialogResult() const { return m_nDialogResult; }
    // A job was converted into a complete PDF.
    bool Converted() const { return m_bConverted; }
    const _tagCONVERT_JOB* Job() const { return m_pJob.get(); }
    const CommandLineInfoEx& CommandLine() const { return m_cmdInfo; }

    // Ends the run as Cancel does: a conversion in progress is cancelled, an open Save As
    // dialog is closed, and a run not yet begun does not begin.
    void RequestStop();

    // Replaces the Save As dialog (tests).
    void SetSaveAsPrompt(SaveAsPrompt prompt) { m_saveAsPrompt = std::move(prompt); }

    // How long the removal at exit keeps asking a job that is still printing to go.
    static constexpr int kRemovalRetries = 30;
    static constexpr int kRemovalRetryMs = 1000;

private:
    bool CopyJobBlock();
    void RemoveJob();
    static QWidget* ForegroundOwner();

    CommandLineInfoEx m_cmdInfo;
    std::unique_ptr<_tagCONVERT_JOB> m_pJob;
    SaveAsPrompt m_saveAsPrompt = RunSaveAsDialog;
    int m_nDialogResult = 0;
    bool m_bConverted = false;
    bool m_bStopRequested = false;
    CPrinterConverterDlg* m_pDialog = nullptr; // while it runs
};
