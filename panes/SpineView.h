#pragma once
// The reading-order pane "출력 순서 관리": the spine tree (control id 4) below the pane
// toolbar, of which only the two moves are enabled. Selecting an entry's file opens that
// chapter. Each entry shows the title the table of contents gives its chapter, and its
// id as a tooltip; the item text stays the id, which the spine is written from.
#include "panes/TreePane.h"
#include "platform/controls/TreeControl.h"

class CPaneHost;

class CSpineView : public CTreePane {
    Q_OBJECT
public:
    static constexpr int kTreeId = 4;

    // `manifest` is the manifest pane's tree, where the spine entries' files are listed.
    CSpineView(CPaneHost& host, const platform::TreeControl& manifest, QWidget* parent = nullptr);

    void OnCommand(int id);
    void OnMoveUp();
    void OnMoveDown();
    void OnSelectionChanged(platform::TreeItem item);

    // Captions every entry with the label of the first table-of-contents entry that leads
    // to its chapter; entries without one show their id. Paths are resolved as the book
    // writes them: NCX targets against the NCX's folder, hrefs against the package folder.
    void ShowChapterTitles(const platform::TreeControl& navigation, const QString& packageFolder,
                           const QString& ncxPath);

private:
    platform::TreeItem MovableSelection() const;
    // The full path of an entry's file, from the manifest item of the entry's id.
    QString ChapterPathOf(platform::TreeItem entry, const QString& packageFolder, const QString& workFolder) const;

    CPaneHost& m_host;
    const platform::TreeControl& m_manifest;
};
