#include "editor/LindarApp.h"

#include "editor/ChildFrame.h"
#include "editor/CommandIds.h"
#include "editor/CommandLineBook.h"
#include "editor/EditorTexts.h"
#include "editor/LindarDoc.h"
#include "editor/LindarDocTemplate.h"
#include "editor/LindarView.h"
#include "editor/MainFrame.h"
#include "editor/Profile.h"
#include "editor/Splash.h"
#include "editor/StartupUpdateStep.h"
#include "editor/TdxComponentRegistration.h"
#include "package/WorkFolderLock.h"
#include "package/ePubContainerFormat.h"
#include "panes/MetadataGridBuilder.h"
#include "panes/SelectEBOOKTemplate.h"
#include "platform/core/MessageBox.h"
#include "platform/controls/PropertyGrid.h"
#include "platform/ui/ModalDialogs.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QThread>

namespace {

CLindarApp* g_app = nullptr;

// Deletes the entries of a folder depth first; links are removed, never followed.
void emptyFolder(const QString& folder)
{
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        if (entry.isDir() && !entry.isSymLink()) {
            emptyFolder(entry.filePath());
            QDir().rmdir(entry.filePath());
        } else {
            QFile::remove(entry.filePath());
        }
    }
}

} // namespace

CLindarApp::CLindarApp()
    : m_pDocTemplate(std::make_unique<CLindarDocTemplate>(*this))
{
    g_app = this;
}

CLindarApp::~CLindarApp()
{
    QObject::disconnect(m_idleConnection);
    m_pMainFrame.reset(); // empties the work area on its way out
    if (g_app == this)
        g_app = nullptr;
}

CLindarApp* CLindarApp::Get() { return g_app; }

int CLindarApp::ScaledWait(int milliseconds)
{
    bool ok = false;
    const int percent = qEnvironmentVariableIntValue("LINDAR_STARTUP_WAIT_PERCENT", &ok);
    if (!ok || percent < 0)
        return milliseconds;
    return int(qint64(milliseconds) * percent / 100);
}

void CLindarApp::SplashStep(const QString& text, int milliseconds)
{
    if (m_pSplash && !text.isEmpty())
        m_pSplash->SetText(text);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (const int wait = ScaledWait(milliseconds); wait > 0)
        QThread::msleep(ulong(wait));
}

bool CLindarApp::InitInstance(const QStringList& arguments)
{
    // The command line never opens or creates a book here; a book it names opens once
    // start-up is done.

    m_pSplash = std::make_unique<CSplash>(QColor(128, 128, 128));
    m_pSplash->Create();
    SplashStep(QStringLiteral("Start Quorra Initialize..."), 500);
    SplashStep(QStringLiteral("Common Control Initializing..."), 200);

    // The profile; the recent-file list is read once the main window shows.
    m_nAppLook = CProfile::ReadLook();
    SplashStep(QStringLiteral("Loading Standard Profile..."), 200);
    SplashStep(QStringLiteral("Context Menu Initializing..."), 200);
    SplashStep(QStringLiteral("Keyboard Manager Initializing..."), 200);
    SplashStep(QStringLiteral("Tooltip Manager Initializing..."), 200);
    SplashStep(QStringLiteral("Creating Mainframe Window..."), 200);

    m_pMainFrame = std::make_unique<CMainFrame>(*this);
    if (!m_pMainFrame->OnCreate()) {
        m_pMainFrame.reset();
        m_pSplash->Destroy();
        return false;
    }
    m_pMainFrame->setAcceptDrops(true);
    LoadFrameState(*m_pMainFrame);

    SplashStep(QStringLiteral("Processing Shell Command..."), 200);

    m_pMainFrame->show();
    m_pMainFrame->update();
    m_pSplash->Destroy();
    m_pSplash.reset();

    m_recentFiles.ReadList();
    m_pMainFrame->RefreshRecentFiles();
    ConnectIdleStep();

    if (!CTdxComponentRegistration::IsInstalled()) {
        platform::ShowMessage(texts::ComponentMissing(), texts::AppTitle(), platform::MessageButtons::Ok);
        return false;
    }

    // Step 21: the update check may end start-up here.
    if (!RunStartupUpdateStep(*m_pMainFrame))
        return true;

    // With a book on its way from the command line, a choice of what to work on would only
    // stand in front of it.
    if (CCommandLineBook::FromArguments(arguments).isEmpty())
        RunTemplateChooser();
    return true;
}

void CLindarApp::ConnectIdleStep()
{
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        m_idleConnection = connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CLindarApp::OnIdle);
}

void CLindarApp::OnIdle()
{
    if (m_nIdleCount++ % 32 != 0)
        return;
    if (m_pMainFrame)
        m_pMainFrame->RefreshStatusBar();
}

bool CLindarApp::AskBeforeReplacingBook()
{
    CLindarView* view = m_pMainFrame ? m_pMainFrame->GetActiveView() : nullptr;
    CLindarDoc* document = m_pMainFrame ? m_pMainFrame->GetActiveDocument() : nullptr;
    if (!view || !document)
        return true;
    view->UpdateUnsavedMark();
    const auto answer = platform::ShowMessage(texts::SaveBeforeOpen(), texts::AppTitle(),
                                              platform::MessageButtons::YesNoCancel);
    m_bPromptAnswered = true;
    if (answer == platform::MessageResult::Cancel) {
        // The book stays open and nothing was decided: closing it later must ask again.
        m_bPromptAnswered = false;
        return false;
    }
    if (answer == platform::MessageResult::Yes) {
        // A save that failed or was cancelled keeps the book: nothing replaces it unsaved.
        if (!SaveAnsweringPrompt(*document)) {
            m_bPromptAnswered = false;
            return false;
        }
    } else {
        m_pMainFrame->ClearBookPanes();
    }
    return true;
}

bool CLindarApp::SaveAnsweringPrompt(CLindarDoc& document)
{
    // The question's save replaces the reopen cycle; later saves reopen as usual.
    m_bSavedByPrompt = true;
    const bool saved = document.DoFileSave();
    m_bSavedByPrompt = false;
    return saved;
}

CLindarDoc* CLindarApp::OpenBookFile(const QString& path)
{
    m_nStyleChoice = 0;
    if (!m_pMainFrame)
        return nullptr;
    if (m_pMainFrame->GetActiveView()) {
        CLindarDoc* open = m_pMainFrame->GetActiveDocument();
        if (open && open->m_strFileName == path)
            return nullptr; // that book is already open
        if (!AskBeforeReplacingBook())
            return nullptr;
    }
    return m_pDocTemplate->OpenDocumentFile(path);
}

void CLindarApp::NewBookFromTemplate(const QString& templatePath)
{
    m_bFromTemplate = true;
    m_strTemplatePath = templatePath;
    m_strStyleFile.clear();
    m_nStyleChoice = 0;
    if (!AskBeforeReplacingBook())
        return;
    m_pDocTemplate->OpenNewDocument();
}

void CLindarApp::OnFileNew()
{
    // Without a chosen template the new book takes the skeleton's chapters as they are.
    m_bFromTemplate = false;
    m_strTemplatePath.clear();
    m_strStyleFile.clear();
    m_nStyleChoice = 0;
    if (!AskBeforeReplacingBook())
        return;
    m_pDocTemplate->OpenNewDocument();
}

void CLindarApp::RunTemplateChooser()
{
    if (!m_pMainFrame)
        return;
    CSelectEBOOKTemplate chooser(texts::AppTitle(), m_pMainFrame.get());
    if (platform::RunModalDialog(chooser) != QDialog::Accepted)
        return;
    // The radio decides first: a thumbnail still selected in the other mode is not taken.
    if (chooser.GetChoice() == CSelectEBOOKTemplate::OpenExisting)
        m_pMainFrame->OnCommand(cmd::FileOpen);
    else
        NewBookFromTemplate(chooser.GetTemplatePath());
}

void CLindarApp::AddToRecentFileList(const QString& path)
{
    m_recentFiles.Add(path);
    if (m_pMainFrame)
        m_pMainFrame->RefreshRecentFiles();
}

void CLindarApp::ResetPropertyGrid(platform::PropertyGrid& grid) const { CMetadataGridBuilder::ResetGrid(grid); }

void CLindarApp::EmptyWorkArea() const
{
    const QString base = CePubContainerFormat::GetWorkFolderBase(true);
    if (base.isEmpty())
        return;
    QDir().mkpath(base);
    // Each entry of the base is a book's work folder or its lock ".<name>.lock". A folder
    // that another editor or a lindar-cli run has open stays, and so does its lock; the
    // others go while this program holds their lock, so nobody claims them meanwhile.
    QStringList names;
    const QFileInfoList entries = QDir(base).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot
                                                            | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries) {
        QString name = entry.fileName();
        if (name.startsWith(QLatin1Char('.')) && name.endsWith(QLatin1String(".lock")) && !entry.isDir())
            name = name.mid(1, name.size() - 6);
        if (!name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
            && !names.contains(name))
            names.append(name);
    }
    for (const QString& name : names) {
        const QString path = base + QLatin1Char('/') + name;
        const std::unique_ptr<QLockFile> lock = ClaimWorkFolderLock(path);
        if (!lock)
            continue;
        const QFileInfo entry(path);
        if (entry.isDir() && !entry.isSymLink()) {
            emptyFolder(path);
            QDir().rmdir(path);
        } else {
            QFile::remove(path);
        }
    } // each lock is released, and its file removed, once its folder is gone
}

void CLindarApp::SaveFrameState(const CMainFrame& frame) const
{
    auto profile = CProfile::Open();
    profile->setValue(QStringLiteral("Workspace/Geometry"), frame.saveGeometry());
    profile->setValue(QStringLiteral("Workspace/State"), frame.saveState());
}

void CLindarApp::LoadFrameState(CMainFrame& frame) const
{
    auto profile = CProfile::Open();
    frame.restoreGeometry(profile->value(QStringLiteral("Workspace/Geometry")).toByteArray());
    frame.restoreState(profile->value(QStringLiteral("Workspace/State")).toByteArray());
}
