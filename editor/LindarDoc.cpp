#include "editor/LindarDoc.h"

#include "editor/BookPanes.h"
#include "editor/ChildFrame.h"
#include "editor/CommandIds.h"
#include "editor/DTdxCtrl0.h"
#include "editor/EditorTexts.h"
#include "editor/LindarApp.h"
#include "editor/LindarView.h"
#include "editor/MainFrame.h"
#include "editor/StatusValues.h"
#include "panes/SpineView.h"
#include "platform/core/MessageBox.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/QtPropertyGrid.h"
#include "platform/ui/QtTreeControl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString fileNameOf(const QString& path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash >= 0 ? path.mid(slash + 1) : path;
}

} // namespace

CLindarDoc::CLindarDoc(CLindarApp& app, CMainFrame& frame)
    : m_app(app)
    , m_frame(frame)
{
    m_ePub.GetContainer().GetZipWrapper().LoadLibraries();
}

CLindarDoc::~CLindarDoc() = default;

CLindarView* CLindarDoc::GetView() const
{
    CChildFrame* child = m_frame.GetActiveChildFrame();
    return child && child->GetDocument() == this ? child->GetView() : nullptr;
}

void CLindarDoc::SetTitle(const QString& title)
{
    m_strTitle = title;
    if (GetView())
        m_frame.UpdateCaption();
}

void CLindarDoc::SetPathName(const QString& path, bool addToRecentFiles)
{
    m_strPathName = path;
    m_strTitle = fileNameOf(path);
    if (addToRecentFiles)
        m_app.AddToRecentFileList(path);
}

QString CLindarDoc::GetPackageFolder() const { return m_ePub.GetContainer().GetPackage().GetPackageFolder(); }
QString CLindarDoc::GetPackagePath() const { return m_ePub.GetContainer().GetPackage().GetPackagePath(); }
QString CLindarDoc::GetNCXPath() const { return m_ePub.GetContainer().GetPackage().GetOPFManager().GetNCXPath(); }
QString CLindarDoc::GetWorkFolder() const { return m_ePub.GetContainer().GetWorkFolderPath(); }

bool CLindarDoc::GetFirstDocumentPath(QString& path) const
{
    return m_ePub.GetContainer().GetPackage().GetOPFManager().GetFirstDocumentPath(path);
}

void CLindarDoc::AttachPanes()
{
    CBookPanes& panes = m_frame.Panes();
    COPFManager& opf = m_ePub.GetContainer().GetPackage().GetOPFManager();
    opf.GetNCXManager().SetNavigationTree(panes.NavigationTree());
    opf.GetNCXManager().SetMetadataGrid(panes.PropertyGrid());
    opf.GetMetadata().SetMetadataGrid(panes.PropertyGrid());
    opf.GetManifestManager().SetManifestTree(panes.ManifestTree());
    opf.GetSpineManager().SetSpineTree(panes.SpineTree());
    opf.GetSpineManager().SetManifestManager(&opf.GetManifestManager());
}

void CLindarDoc::ShowSpineTitles()
{
    CBookPanes& panes = m_frame.Panes();
    panes.SpineView()->ShowChapterTitles(*panes.NavigationTree(), GetPackageFolder(), GetNCXPath());
}

void CLindarDoc::RenameEntry()
{
    platform::QtTreeControl* tree = m_frame.Panes().NavigationTree();
    if (!tree)
        return;
    tree->SetLabelEditing(true);
    const platform::TreeItem selected = tree->GetSelectedItem();
    if (selected && tree->GetItemImage(selected) != CPackageNCXManager::NAV_CONTENT)
        tree->EditLabel(selected);
}

bool CLindarDoc::NewBook()
{
    m_app.m_nStyleChoice = 0;
    m_frame.ClearBookPanes();
    AttachPanes();
    m_ePub.GetContainer().CreateNewEpub(); // the new book shows whatever could be made
    ShowSpineTitles();
    m_frame.m_strBookPath = GetTitle();
    m_frame.SetBaseTitle(GetTitle());
    return true;
}

bool CLindarDoc::OpenBook(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        platform::ShowMessage(texts::CannotOpenFile().arg(path), texts::AppTitle(), platform::MessageButtons::Ok,
                              platform::MessageIcon::Warning);
        return false;
    }
    LoadBook(file, false);
    file.close();
    if (m_bLoadFailed)
        return false;
    m_frame.m_strBookPath = path;
    m_frame.SetBaseTitle(fileNameOf(path));
    if (!m_app.m_bReopening) {
        m_app.m_nSavedVertPos = 0;
        m_app.m_nSavedVertLimitPos = 0;
    }
    return true;
}

void CLindarDoc::LoadBook(QFile& file, bool storing)
{
    const QString path = QFileInfo(file.fileName()).absoluteFilePath();
    if (storing) {
        m_strFileName = path;
        return;
    }
    if (!m_app.m_bReopening) {
        m_app.m_bFromTemplate = false;
        m_app.m_nStyleChoice = 0;
    }
    // The recent-file list takes the book once it has opened (SetPathName), never a refused file.
    m_frame.ClearBookPanes();
    if (CChildFrame* active = m_frame.GetActiveChildFrame(); active && active->GetDocument() != this)
        active->GetDocument()->CloseBook();
    AttachPanes();
    CePubContainerFormat& container = m_ePub.GetContainer();
    if (!container.OpenEpub(path)) {
        m_bLoadFailed = true;
    } else if (!container.HasPackage()) {
        // An empty book offered for editing would be saved over the reader's copy.
        platform::ShowMessage(texts::NoPackage().arg(path, container.GetPackageProblem()), texts::AppTitle(),
                              platform::MessageButtons::Ok, platform::MessageIcon::Warning);
        m_bLoadFailed = true;
    } else {
        ShowSpineTitles();
    }
    m_strFileName = path;
}

bool CLindarDoc::SaveBook(const QString& path)
{
    CLindarView* view = GetView();
    if (!view)
        return false;
    // A chapter that could not be written back keeps its edits in the control; packing
    // the old file now would lose them.
    if (!view->SaveChapter())
        return false;
    view->m_bUnsaved = false;

    // Packing after a package file failed to write would save the old metadata, NCX or
    // spine as if the edits were in. The book stays open with its changes marked instead,
    // so nothing is lost silently.
    QString failure;
    COPFManager& opf = m_ePub.GetContainer().GetPackage().GetOPFManager();
    if (!opf.SavePackageFiles(QFileInfo(path).completeBaseName(), &failure)
        || !m_ePub.GetContainer().SaveEpub(path)) {
        view->m_bUnsaved = true;
        platform::ShowMessage(texts::SaveFailed() + QLatin1Char('\n')
                                  + (failure.isEmpty() ? m_ePub.GetContainer().GetLastError() : failure),
                              texts::AppTitle(), platform::MessageButtons::Ok);
        return false;
    }

    m_frame.ShowBookSaved(path);

    if (!m_app.m_bSavedByPrompt) {
        m_app.m_bReopening = true;
        if (m_pCtrl) {
            const CDTdxParameterSet scroll = m_pCtrl->GetScrollState();
            m_app.m_nSavedVertPos = int(scroll.GetItemLong(QStringLiteral("VertPos")));
            m_app.m_nSavedVertLimitPos = int(scroll.GetItemLong(QStringLiteral("VertLimitPos")));
        }
        m_frame.PostCommand(cmd::CloseWindow);
        // Where the chapter lies in the book, so that the reopened book shows the same file
        // even when it is not in the first chapter's folder.
        m_frame.m_strLastChapter = view->m_strChapterPath.isEmpty()
            ? QString()
            : QDir(GetWorkFolder()).relativeFilePath(view->m_strChapterPath);
        m_frame.PostReopenBook(path);
    }
    return true;
}

bool CLindarDoc::CloseBook()
{
    if (CLindarView* view = GetView()) {
        view->UpdateUnsavedMark();
        if (!m_app.m_bPromptAnswered && !m_app.m_bReopening && !m_frame.m_bClosing && view->m_bUnsaved) {
            const auto answer = platform::ShowMessage(texts::SaveBeforeClose(), texts::AppTitle(),
                                                      platform::MessageButtons::YesNoCancel);
            if (answer == platform::MessageResult::Cancel)
                return false;
            if (answer == platform::MessageResult::Yes) {
                // A save that failed or was cancelled keeps the book open.
                if (!m_app.SaveAnsweringPrompt(*this))
                    return false;
            } else {
                m_frame.ClearBookPanes();
            }
        }
    }
    m_app.m_bPromptAnswered = false;

    // Destroying the chapter window leaves the main window without a book: its panes go
    // empty with it.
    CChildFrame* child = m_frame.GetActiveChildFrame();
    if (child && child->GetDocument() == this)
        m_frame.DestroyChildFrame(child); // destroys this document; nothing may follow
    return true;
}

bool CLindarDoc::DoFileSave() { return DoSave(m_strPathName); }

bool CLindarDoc::DoSave(const QString& path)
{
    QString target = path;
    if (target.isEmpty()) {
        QString proposed = m_strPathName.isEmpty() ? m_strTitle : m_strPathName;
        if (!proposed.endsWith(texts::FileExtension(), Qt::CaseInsensitive))
            proposed += texts::FileExtension();
        platform::FileDialogRequest request;
        request.kind = platform::FileDialogRequest::Kind::Save;
        request.filter = texts::FileFilter();
        request.defaultSuffix = texts::FileExtension().mid(1);
        request.initialPath = proposed;
        request.owner = &m_frame;
        target = platform::AskFileName(request);
        if (target.isEmpty())
            return false; // cancelled: nothing saved
    }
    if (!OnSaveDocument(target))
        return false;
    SetPathName(target);
    return true;
}

void CLindarDoc::RunSaveCommand(bool saveAs)
{
    SetTitle(fileNameOf(m_frame.m_strBookPath));
    if (saveAs)
        DoSave(QString());
    else
        DoFileSave();
    if (CLindarView* view = GetView())
        SetTitle(fileNameOf(view->m_strChapterPath));
    m_frame.SetBaseTitle(fileNameOf(m_frame.m_strBookPath));
}

void CLindarDoc::OnFileSave() { RunSaveCommand(false); }
void CLindarDoc::OnFileSaveAs() { RunSaveCommand(true); }

bool CLindarDoc::ReadStatus(StatusValues& values) const
{
    if (!m_pCtrl)
        return false;
    long sectionCount = 0, section = 0, page = 0, column = 0, line = 0, position = 0;
    short overwrite = 0;
    QString text;
    if (!m_pCtrl->GetStatus(sectionCount, section, page, column, line, position, overwrite, text))
        return false;
    values.sectionCount = int(sectionCount);
    values.section = int(section);
    values.page = int(page);
    values.column = int(column);
    values.line = int(line);
    values.position = int(position);
    values.overwrite = overwrite;
    values.text = text;
    return true;
}
