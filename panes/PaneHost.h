#pragma once
// What the panes need from the editor: the open book's folders, the chapter view and the
// document's commands. The main frame provides it, so panes never see the editor itself.
#include <QString>

class CPaneHost {
public:
    virtual ~CPaneHost() = default;

    // False without an open book.
    virtual bool HasActiveDocument() const = 0;
    // False without a chapter view.
    virtual bool HasActiveView() const = 0;
    // The folder that holds the package document, ending in "/".
    virtual QString GetPackageFolder() const = 0;
    // Full path of the NCX file; empty when the book has none.
    virtual QString GetNCXPath() const = 0;
    // The book's work folder: nothing a pane opens lies outside it.
    virtual QString GetWorkFolder() const = 0;
    // Full path of the chapter the view shows.
    virtual QString GetChapterPath() const = 0;
    // Opens a chapter in the view, which writes the open one back first. False when the
    // view still shows the chapter it showed.
    virtual bool OpenChapter(const QString& path) = 0;
    virtual void GoToBookmark(const QString& name) = 0;
    // A document command from the navigation pane's toolbar or context menu.
    virtual void OnPaneCommand(int id) = 0;
    // Applies style pane entry `index` to the chapter in the view.
    virtual void ApplyStyleEntry(int index) = 0;
    // The user changed the publication data: the book has unsaved changes.
    virtual void OnMetadataEdited() = 0;
    // The caption of the panes' message boxes.
    virtual QString GetAppTitle() const = 0;
};
