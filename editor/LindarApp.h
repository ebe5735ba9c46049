#pragma once
#include "editor/RecentFileList.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class CLindarDoc;
class CLindarDocTemplate;
class CMainFrame;
class CSplash;

namespace platform {
class PropertyGrid;
}

// The application: start-up, the idle step, and the run values that tie the save
// questions, the reopen cycle, templates and the chapter view together.
class CLindarApp : public QObject {
    Q_OBJECT
public:
    CLindarApp();
    ~CLindarApp() override;

    static CLindarApp* Get(); // the one application object of the run, or null

    // The start-up sequence; false ends the program without a message loop.
    bool InitInstance(const QStringList& arguments = {});
    // Called when the event loop is about to wait; refreshes the status bar now and then.
    void OnIdle();

    // The single entry for opening a book file. Returns the new document, or null.
    CLindarDoc* OpenBookFile(const QString& path);
    void NewBookFromTemplate(const QString& templatePath);
    // The save after a Yes to a save question: no reopen cycle. False when nothing was
    // saved (the save failed or its dialog was cancelled).
    bool SaveAnsweringPrompt(CLindarDoc& document);
    // A new book from the bare skeleton, no template applied.
    void OnFileNew();
    // The template chooser, at start-up and for the new-file command: a chosen template
    // makes a new book, the other choice runs the open command, Cancel does nothing.
    void RunTemplateChooser();

    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    CLindarDocTemplate& DocTemplate() const { return *m_pDocTemplate; }
    CRecentFileList& RecentFiles() { return m_recentFiles; }
    void AddToRecentFileList(const QString& path);

    void ResetPropertyGrid(platform::PropertyGrid& grid) const;
    // Deletes everything below the work-folder base but the work folders that a live
    // process holds open (another editor, lindar-cli); the base itself stays.
    void EmptyWorkArea() const;
    void SaveFrameState(const CMainFrame& frame) const;
    void LoadFrameState(CMainFrame& frame) const;

    // Milliseconds of a start-up wait after LINDAR_STARTUP_WAIT_PERCENT is applied.
    static int ScaledWait(int milliseconds);

    // Run values.
    bool m_bFromTemplate = false;
    QString m_strTemplatePath;
    QString m_strStyleFile;
    bool m_bReopening = false;
    bool m_bSavedByPrompt = false; // set only during the save a question's Yes started
    bool m_bPromptAnswered = false;
    int m_nStyleChoice = 0;
    int m_nSavedVertPos = 0;
    int m_nSavedVertLimitPos = 0;

    int m_nAppLook = 214;
    bool m_bHiColorIcons = true;

private:
    // Asks P1 before another book replaces the open one; false when the user cancelled.
    bool AskBeforeReplacingBook();
    void SplashStep(const QString& text, int milliseconds);
    void ConnectIdleStep();

    std::unique_ptr<CSplash> m_pSplash;
    std::unique_ptr<CLindarDocTemplate> m_pDocTemplate;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    CRecentFileList m_recentFiles{4};
    quint64 m_nIdleCount = 0;
    QMetaObject::Connection m_idleConnection;
};
