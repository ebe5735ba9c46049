#pragma once
#include "package/ePubMain.h"

#include <QString>

class CDTdxCtrl0;
class CLindarApp;
class CLindarView;
class CMainFrame;
class QFile;
struct StatusValues;

// One open book: owns its package model from creation or loading until it is closed, and
// runs the book's life cycle (new, open, save, save as, close, the reopen after a save).
class CLindarDoc {
public:
    CLindarDoc(CLindarApp& app, CMainFrame& frame);
    ~CLindarDoc();
    CLindarDoc(const CLindarDoc&) = delete;
    CLindarDoc& operator=(const CLindarDoc&) = delete;

    // Framework steps.
    bool OnNewDocument() { return NewBook(); }
    bool OnOpenDocument(const QString& path) { return OpenBook(path); }
    bool OnSaveDocument(const QString& path) { return SaveBook(path); }
    // The save command: to the path name, or through the save-as dialog for a new book.
    bool DoFileSave();
    // Saves to `path`, or asks for one when it is empty. False when nothing was saved.
    bool DoSave(const QString& path);
    QString GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title);
    QString GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path, bool addToRecentFiles = true);

    // Book operations.
    bool NewBook();
    bool OpenBook(const QString& path);
    void LoadBook(QFile& file, bool storing);
    bool SaveBook(const QString& path);
    // Closes the book; false when the user cancelled. On true the document is destroyed,
    // so the caller must not touch it again.
    bool CloseBook();

    // Command 32839 of the navigation pane: starts renaming the selected entry in place.
    void RenameEntry();

    // The chapter, bookmark and source commands of the navigation pane and the main frame
    // (LindarDocChapters.cpp). Each works on the three trees and writes what it changed.
    void AddChapter();
    // AddChapter after its dialog: `fileName` as the dialog proposes it ("content000",
    // "Contents001.xhtml"). False when nothing was added.
    bool AddChapterFile(const QString& label, const QString& fileName);
    void InsertBookmark();
    // The first "b%d" that no table-of-contents entry uses.
    QString FreeBookmarkName() const;
    void DeleteContent();
    void ShowSelectedSource();
    void ShowPackageSource();
    void ShowNcxSource();
    void ShowChapterSource(const QString& title);

    // Commands 32774 and 32775.
    void OnFileSave();
    void OnFileSaveAs();

    // Editing commands. Each does nothing without a control.
    // Gives every picture a size relative to the paper. The asking form confirms first and
    // reports the result; the silent form runs before every chapter write-back.
    void FitImagesToPaper(bool ask);
    void IndentParagraph();
    void OutdentParagraph();
    // Steps of 20 within 50 to 200 percent; ResetZoom shows 100 % and keeps the ratio.
    void ZoomIn();
    void ZoomOut();
    void ResetZoom();
    void PasteClipboard();
    // Applies style pane entry `index` to the open chapter.
    void ApplyStyleEntry(int index);
    // Commands 32840 (A4) and 32841 (the device's page): the chapter gets that page.
    void UsePaperSize(bool a4);

    // The control's status values for the status bar; false without a control.
    bool ReadStatus(StatusValues& values) const;

    QString GetPackageFolder() const;
    QString GetPackagePath() const;
    QString GetNCXPath() const;
    QString GetWorkFolder() const;
    bool GetFirstDocumentPath(QString& path) const;
    CePubMain& GetEpub() { return m_ePub; }
    CLindarView* GetView() const;

    CDTdxCtrl0* m_pCtrl = nullptr; // the view's control; not owned
    CePubMain m_ePub;
    int m_nZoomRatio = 100;
    QString m_strFileName;
    bool m_bLoadFailed = false;

private:
    // Hands the pane controls to the package objects that fill and read them.
    void AttachPanes();
    // Lets the reading-order pane show the chapters' titles once the trees are filled.
    void ShowSpineTitles();
    void RunSaveCommand(bool saveAs);
    void ChangeIndentation(bool indent);
    void ApplyZoom(int ratio);
    // The folder new chapter files go to, and that table-of-contents targets start from.
    QString GetNcxFolder() const;
    void ShowSource(const QString& path, const QString& title);
    // Writes the table of contents, the manifest and the spine at once.
    void SaveStructure();

    CLindarApp& m_app;
    CMainFrame& m_frame;
    QString m_strTitle;
    QString m_strPathName;
};
