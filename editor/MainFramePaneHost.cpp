// The main frame as the panes' host: what the panes reach of the active document and its
// chapter view.
#include "editor/MainFrame.h"

#include "editor/ChapterCommands.h"
#include "editor/EditorTexts.h"
#include "editor/LindarDoc.h"
#include "editor/LindarView.h"
#include "platform/core/MessageBox.h"

#include <QFileInfo>

bool CMainFrame::HasActiveDocument() const { return GetActiveDocument() != nullptr; }
bool CMainFrame::HasActiveView() const { return GetActiveView() != nullptr; }

QString CMainFrame::GetPackageFolder() const
{
    const CLindarDoc* document = GetActiveDocument();
    return document ? document->GetPackageFolder() : QString();
}

QString CMainFrame::GetNCXPath() const
{
    const CLindarDoc* document = GetActiveDocument();
    return document ? document->GetNCXPath() : QString();
}

QString CMainFrame::GetWorkFolder() const
{
    const CLindarDoc* document = GetActiveDocument();
    return document ? document->GetWorkFolder() : QString();
}

QString CMainFrame::GetChapterPath() const
{
    const CLindarView* view = GetActiveView();
    return view ? view->m_strChapterPath : QString();
}

bool CMainFrame::OpenChapter(const QString& path)
{
    CLindarView* view = GetActiveView();
    if (!view)
        return false;
    // An entry whose file is missing would open an empty page that no save could keep.
    if (!QFileInfo(path).isFile()) {
        platform::ShowMessage(texts::FileMissing() + QLatin1Char('\n') + path, texts::AppTitle(),
                              platform::MessageButtons::Ok, platform::MessageIcon::Warning);
        return false;
    }
    view->OpenChapter(path, QString());
    return view->m_strChapterPath == path;
}

void CMainFrame::GoToBookmark(const QString& name)
{
    if (CLindarView* view = GetActiveView())
        view->GoToBookmark(name);
}

void CMainFrame::OnPaneCommand(int id)
{
    CLindarDoc* document = GetActiveDocument();
    if (!document)
        return;
    RunPaneChapterCommand(id, *document);
}

void CMainFrame::ApplyStyleEntry(int index)
{
    if (CLindarDoc* document = GetActiveDocument())
        document->ApplyStyleEntry(index);
}

void CMainFrame::OnMetadataEdited()
{
    CLindarView* view = GetActiveView();
    if (!view)
        return;
    view->m_bUnsaved = true;
    RefreshUnsavedMark();
}

QString CMainFrame::GetAppTitle() const { return texts::AppTitle(); }
