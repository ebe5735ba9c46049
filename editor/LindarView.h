#pragma once
#include "platform/controls/TreeControl.h"

#include <QBasicTimer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>

class CDTdxCtrl0;
class CLindarApp;
class CLindarDoc;
class CMainFrame;
class QLabel;

// The chapter view: edits one chapter file of the book at a time in the word-processor
// control, writes it back as XHTML, keeps the manifest in step with the chapter's pictures,
// and brings back the scroll position after the reopen that follows a save.
class CLindarView : public QWidget {
    Q_OBJECT
public:
    enum class PagePreset { A4, Device };

    CLindarView(CMainFrame& frame, CLindarDoc& document);
    ~CLindarView() override;

    CLindarDoc& GetDocument() const { return m_document; }

    // The first update after the document was created or loaded.
    void OnInitialUpdate() { InitChapterView(); }
    void InitChapterView();
    // Opens nothing for a file that is not a chapter or not there, and keeps the open
    // chapter when it cannot be written back first.
    void OpenChapter(const QString& path, const QString& options);
    // False when the open chapter could not be written; the control keeps its content, the
    // user has been told, and the book stays marked unsaved.
    bool SaveChapter();
    void PrepareNewChapter(const QString& path);
    // Lets go of the open chapter without writing it back (its file was deleted).
    void CloseChapter();
    void UpdateUnsavedMark();
    void GoToBookmark(const QString& name);
    void SetPagePreset(PagePreset preset);
    void ApplyPageSetup();
    void CollectLinkedImages(QStringList& list);
    bool IsImageUsed(const QString& filePath, const QString& picturePath) const;
    void ExportStyleTemplate(const QString& styleFilePath);
    void ImportStyleTemplate(const QString& styleFileName);

    CDTdxCtrl0* m_pCtrl = nullptr; // owned through the widget tree
    QString m_strContentFolder;
    QString m_strChapterPath;
    bool m_bUnsaved = false;
    std::array<int, 8> m_aPagePreset{};
    QStringList m_aLinkedImages;

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void AskStyleQuestion();
    void CreateControl();
    void RestoreScrollState();
    // Makes the manifest follow the chapter's pictures after a write-back.
    void UpdatePictures(const QStringList& linkedNow);
    bool IsInsideBook(const QString& path) const;
    void AddPictureItem(const QString& picturePath);
    // The file a manifest item's href names; empty without one.
    QString ManifestItemFile(platform::TreeItem item) const;
    // Every file of the book that may show a picture: the manifest's XHTML and HTML items
    // and the chapter files beside the first chapter.
    QStringList BookChapterFiles() const;
    // The control while a chapter is open; else a notice that no chapter could be opened.
    void ShowChapterState(const QString& wantedChapter);

    CMainFrame& m_frame;
    CLindarDoc& m_document;
    CLindarApp& m_app;
    QBasicTimer m_scrollTimer; // timer 1001
    QLabel* m_pNoChapter = nullptr;
};
