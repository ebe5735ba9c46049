#pragma once
// A pane host that records what the panes ask of the editor.
#include "panes/PaneHost.h"

#include <QList>

class FakePaneHost : public CPaneHost {
public:
    bool activeView = true;
    QList<int> appliedStyles;
    int metadataEdits = 0;

    bool HasActiveDocument() const override { return activeView; }
    bool HasActiveView() const override { return activeView; }
    QString GetPackageFolder() const override { return {}; }
    QString GetNCXPath() const override { return {}; }
    QString GetWorkFolder() const override { return {}; }
    QString GetChapterPath() const override { return {}; }
    bool OpenChapter(const QString&) override { return false; }
    void GoToBookmark(const QString&) override {}
    void OnPaneCommand(int) override {}
    void ApplyStyleEntry(int index) override { appliedStyles.append(index); }
    void OnMetadataEdited() override { ++metadataEdits; }
    QString GetAppTitle() const override { return QStringLiteral("Test caption"); }
};
