#pragma once
#include "panes/PaneHost.h"

#include <QMainWindow>
#include <QString>

class CAccelerators;
class CBookPanes;
class CChildFrame;
class CLindarApp;
class CLindarDoc;
class CLindarView;
class QTabWidget;

namespace platform {
class RibbonBar;
class StatusIndicatorBar;
} // namespace platform

// The main window: ribbon, the chapter window as its only tab, docking panes and the
// status bar. It also owns the book values the document and the view share, and is the
// panes' way to the open book and its chapter view.
class CMainFrame : public QMainWindow, public CPaneHost {
    Q_OBJECT
public:
    explicit CMainFrame(CLindarApp& app);
    ~CMainFrame() override;

    // Builds the window's contents; false when a part cannot be made.
    bool OnCreate();

    CChildFrame* GetActiveChildFrame() const { return m_pChildFrame; }
    CLindarDoc* GetActiveDocument() const;
    CLindarView* GetActiveView() const;
    void AddChildFrame(CChildFrame* child);
    // Takes the chapter window off the tabs and destroys it with its view and document.
    void DestroyChildFrame(CChildFrame* child);

    // Empties the three trees and resets the grid before a book is opened or created.
    void ClearBookPanes();
    CBookPanes& Panes() const { return *m_pPanes; }
    platform::RibbonBar& RibbonBar() const { return *m_pRibbon; }
    platform::StatusIndicatorBar& StatusBar() const { return *m_pStatusBar; }

    // The command dispatcher; commands arrive from the ribbon, accelerators and posts.
    void OnCommand(int id);
    // Disabled: a book command while no book is open, and the paper size in use.
    bool IsCommandEnabled(int id) const;
    void UpdateCommandStates();
    // Sets exactly one of the paper flags.
    void SetPaperFlags(bool a4);
    // Queued like posted messages: handled later, in posting order.
    void PostCommand(int id);
    void PostReopenBook(const QString& path);
    void OnReopenBook(const QString& path);

    void SetBaseTitle(const QString& title);
    QString BaseTitle() const { return m_strBaseTitle; }
    // The caption and the chapter tab, both with the unsaved mark while the book has changes.
    void UpdateCaption();
    // Asks the view for its unsaved mark and shows it when it changed.
    void RefreshUnsavedMark();
    // The window without a book: no book name, empty panes, book commands disabled.
    void ShowNoBook();
    // Confirms a save of the book to `path` in the status bar.
    void ShowBookSaved(const QString& path);
    void RefreshRecentFiles();
    void RefreshStatusBar();
    // Draws the window in look 210 to 218, checks it in the look choice and stores it.
    void ApplyLook(int look);

    // The panes' host: the active document and chapter view.
    bool HasActiveDocument() const override;
    bool HasActiveView() const override;
    QString GetPackageFolder() const override;
    QString GetNCXPath() const override;
    QString GetWorkFolder() const override;
    QString GetChapterPath() const override;
    bool OpenChapter(const QString& path) override;
    void GoToBookmark(const QString& name) override;
    void OnPaneCommand(int id) override;
    void ApplyStyleEntry(int index) override;
    void OnMetadataEdited() override;
    QString GetAppTitle() const override;

    // The book values of the open book.
    QString m_strBookPath;
    // The chapter to show after the reopen cycle, relative to the book's work folder.
    QString m_strLastChapter;
    bool m_bClosing = false;
    // A book is being opened (CBookOpenTurns): the window turns its event loop meanwhile,
    // at most every m_nOpenTurnEveryMs; a close asked for then waits for the open.
    bool m_bOpeningBook = false;
    bool m_bCloseAfterOpen = false;
    int m_nOpenTurnEveryMs = 40;
    // Paper flags: exactly one is set.
    bool m_bA4Paper = false;
    bool m_bDevicePaper = true;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateStatusBar();
    // The publication pane and the book commands take input only while a book is open.
    void EnableBookControls(bool bookOpen);
    void OnRibbonCommand(int id);
    void RunFrameCommand(int id);
    void RunBookCommand(int id, CLindarDoc& document);
    // Commands the frame passes on to one of its panes.
    bool RunPaneCommand(int id);
    // The whole window, frame and children, is drawn anew after every command.
    void RedrawAll();
    void OnAppAbout();
    void OnFileOpen();
    void OnHelp();
    void OnConversionTool();

    CLindarApp& m_app;
    platform::RibbonBar* m_pRibbon = nullptr;
    CAccelerators* m_pAccelerators = nullptr;
    platform::StatusIndicatorBar* m_pStatusBar = nullptr;
    CBookPanes* m_pPanes = nullptr;
    QTabWidget* m_pTabs = nullptr;
    CChildFrame* m_pChildFrame = nullptr;
    QString m_strBaseTitle;
    bool m_bShownUnsaved = false; // the caption shows the unsaved mark
};
