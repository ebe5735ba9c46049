#include "editor/MainFrame.h"

#include "editor/Accelerators.h"
#include "editor/ApplicationLook.h"
#include "editor/BookPanes.h"
#include "editor/ChildFrame.h"
#include "editor/CommandIds.h"
#include "editor/DTdxCtrl0.h"
#include "editor/EditorTexts.h"
#include "editor/LindarApp.h"
#include "editor/LindarDoc.h"
#include "editor/LindarView.h"
#include "editor/Profile.h"
#include "editor/RibbonBuilder.h"
#include "editor/StatusValues.h"
#include "panes/PropertiesWnd.h"
#include "platform/core/MessageBox.h"
#include "platform/ui/QtPropertyGrid.h"
#include "platform/ui/QtTreeControl.h"
#include "platform/ui/RibbonBar.h"
#include "platform/ui/StatusIndicatorBar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kSavedMessageMs = 5000; // how long the status bar confirms a save

} // namespace

CMainFrame::CMainFrame(CLindarApp& app)
    : m_app(app)
{
    setObjectName(QStringLiteral("MainFrame"));
}

CMainFrame::~CMainFrame()
{
    if (m_pChildFrame)
        DestroyChildFrame(m_pChildFrame);
    m_app.EmptyWorkArea();
}

bool CMainFrame::OnCreate()
{
    // The keys are routed before the ribbon's key tips, which then see keys first.
    m_pAccelerators = new CAccelerators(
        *this, [this](int id) { OnCommand(id); },
        [this]() -> QWidget* {
            CLindarDoc* document = GetActiveDocument();
            return document ? document->m_pCtrl : nullptr;
        });

    m_pTabs = new QTabWidget;
    m_pTabs->setDocumentMode(true);
    m_pTabs->setTabsClosable(true);
    m_pTabs->setMovable(false);
    connect(m_pTabs, &QTabWidget::tabCloseRequested, this, [this](int) { OnCommand(cmd::CloseWindow); });
    setCentralWidget(m_pTabs);

    m_pRibbon = new platform::RibbonBar;
    CRibbonBuilder::Build(*m_pRibbon);
    connect(m_pRibbon, &platform::RibbonBar::commandTriggered, this, &CMainFrame::OnRibbonCommand);
    connect(m_pRibbon, &platform::RibbonBar::recentFileChosen, this,
            [this](const QString& path) { m_app.OpenBookFile(path); });
    setMenuWidget(m_pRibbon);

    CreateStatusBar();

    m_pPanes = new CBookPanes(this, *this);
    if (!m_pPanes->Create())
        return false;
    ApplyLook(m_app.m_nAppLook);
    resize(1100, 760);
    EnableBookControls(false); // the trees keep their first notices until a book comes
    UpdateCaption();
    return true;
}

void CMainFrame::ApplyLook(int look)
{
    const LookStyle& style = CApplicationLook::For(look);
    setPalette(style.palette);
    m_pRibbon->setColors(style.ribbon);
    for (const LookStyle& each : CApplicationLook::Looks())
        m_pRibbon->setCommandChecked(each.look, each.look == look);
    m_app.m_nAppLook = look;
    CProfile::WriteLook(look);
    RedrawAll();
}

void CMainFrame::OnRibbonCommand(int id)
{
    if (id >= cmd::FirstLook && id <= cmd::LastLook)
        ApplyLook(id);
    else
        OnCommand(id);
}

void CMainFrame::CreateStatusBar()
{
    m_pStatusBar = new platform::StatusIndicatorBar;
    const struct {
        const char* text;
        const char* label;
    } indicators[] = {
        {"쪽 / 단 정보", "쪽/단 정보"},
        {"줄 / 칸 정보", "줄/칸 정보"},
        {"문단 나눔", "문단 나눔"},
        {"구역 정보", "구역 정보"},
        {"수정/삽입", "수정/삽입"},
    };
    for (const auto& indicator : indicators)
        m_pStatusBar->addIndicator(pane::StatusIndicator, QString::fromUtf8(indicator.text),
                                   QString::fromUtf8(indicator.label));
    setStatusBar(m_pStatusBar);
}

CLindarDoc* CMainFrame::GetActiveDocument() const
{
    return m_pChildFrame ? m_pChildFrame->GetDocument() : nullptr;
}

CLindarView* CMainFrame::GetActiveView() const { return m_pChildFrame ? m_pChildFrame->GetView() : nullptr; }

void CMainFrame::AddChildFrame(CChildFrame* child)
{
    m_pChildFrame = child;
    m_pTabs->addTab(child, child->GetDocument()->GetTitle());
    m_pTabs->setCurrentWidget(child);
    EnableBookControls(true);
    UpdateCaption();
}

void CMainFrame::DestroyChildFrame(CChildFrame* child)
{
    if (!child)
        return;
    if (child == m_pChildFrame)
        m_pChildFrame = nullptr;
    const int index = m_pTabs ? m_pTabs->indexOf(child) : -1;
    if (index >= 0)
        m_pTabs->removeTab(index);
    delete child;
    if (!m_pChildFrame)
        ShowNoBook();
    else
        UpdateCaption();
}

void CMainFrame::ShowNoBook()
{
    // Nothing may look like a book that is not open: no old name, no form to fill in, no
    // command that would act on nothing. m_strLastChapter stays for the reopen after a save.
    m_strBookPath.clear();
    m_strBaseTitle.clear();
    m_pPanes->NavigationTree()->DeleteAllItems();
    m_pPanes->ManifestTree()->DeleteAllItems();
    m_pPanes->SpineTree()->DeleteAllItems();
    if (m_pPanes->PropertiesPane())
        m_pPanes->PropertyGrid()->RemoveAll();
    EnableBookControls(false);
    UpdateCaption();
}

void CMainFrame::EnableBookControls(bool bookOpen)
{
    if (m_pPanes->PropertiesPane())
        m_pPanes->PropertiesWnd()->setEnabled(bookOpen);
    UpdateCommandStates();
}

void CMainFrame::ShowBookSaved(const QString& path)
{
    m_pStatusBar->showMessage(texts::BookSaved().arg(QFileInfo(path).fileName()), kSavedMessageMs);
    UpdateCaption();
}

void CMainFrame::ClearBookPanes()
{
    m_pPanes->NavigationTree()->DeleteAllItems();
    m_pPanes->ManifestTree()->DeleteAllItems();
    m_pPanes->SpineTree()->DeleteAllItems();
    if (m_pPanes->PropertiesPane())
        m_app.ResetPropertyGrid(*m_pPanes->PropertyGrid());
}

void CMainFrame::SetBaseTitle(const QString& title)
{
    m_strBaseTitle = title;
    UpdateCaption();
}

void CMainFrame::UpdateCaption()
{
    CLindarDoc* document = GetActiveDocument();
    CLindarView* view = GetActiveView();
    m_bShownUnsaved = view && view->m_bUnsaved;
    const QString mark = m_bShownUnsaved ? QStringLiteral(" ") + texts::UnsavedMark() : QString();
    const QString documentTitle = document ? document->GetTitle() : QString();
    if (m_pChildFrame && m_pTabs) {
        const int index = m_pTabs->indexOf(m_pChildFrame);
        if (index >= 0)
            m_pTabs->setTabText(index, documentTitle + mark);
    }
    QString caption = m_strBaseTitle.isEmpty() ? texts::AppTitle() : m_strBaseTitle;
    if (!documentTitle.isEmpty())
        caption += QStringLiteral(" - ") + documentTitle;
    setWindowTitle(caption + mark);
}

void CMainFrame::RefreshUnsavedMark()
{
    CLindarView* view = GetActiveView();
    if (view)
        view->UpdateUnsavedMark();
    if ((view && view->m_bUnsaved) != m_bShownUnsaved)
        UpdateCaption();
}

void CMainFrame::RefreshRecentFiles()
{
    if (m_pRibbon)
        m_pRibbon->setRecentFiles(m_app.RecentFiles().Entries());
}

void CMainFrame::RefreshStatusBar()
{
    RefreshUnsavedMark();
    CLindarDoc* document = GetActiveDocument();
    StatusValues values;
    if (!document || !document->ReadStatus(values))
        return;
    m_pStatusBar->setIndicatorText(0, values.PageText());
    m_pStatusBar->setIndicatorText(2, values.LineText());
    m_pStatusBar->setIndicatorText(4, values.StyleText());
    m_pStatusBar->setIndicatorText(6, values.SectionText());
    m_pStatusBar->setIndicatorText(8, values.ModeText());
    m_pStatusBar->update();
}

void CMainFrame::PostCommand(int id)
{
    QMetaObject::invokeMethod(this, [this, id] {
        if (!m_bClosing)
            OnCommand(id);
    }, Qt::QueuedConnection);
}

void CMainFrame::PostReopenBook(const QString& path)
{
    QMetaObject::invokeMethod(this, [this, path] { OnReopenBook(path); }, Qt::QueuedConnection);
}

void CMainFrame::OnReopenBook(const QString& path)
{
    // A window on its way out reopens nothing: its book was saved by the close step.
    if (path.isEmpty() || m_bClosing)
        return;
    m_app.OpenBookFile(path);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // The desktop's close or a session-end signal may come while a book is half opened.
    if (m_bOpeningBook) {
        m_bCloseAfterOpen = true;
        event->ignore();
        return;
    }
    CLindarDoc* document = GetActiveDocument();
    CLindarView* view = GetActiveView();
    if (document && view) {
        view->UpdateUnsavedMark();
        if (view->m_bUnsaved) {
            const auto answer = platform::ShowMessage(texts::SaveBeforeClose(), texts::AppTitle(),
                                                      platform::MessageButtons::YesNoCancel);
            m_app.m_bPromptAnswered = true;
            if (answer == platform::MessageResult::Cancel) {
                // Nothing was decided: a later close must ask again.
                m_app.m_bPromptAnswered = false;
                event->ignore();
                return;
            }
            // A save that failed or was cancelled keeps the window and the book open.
            if (answer == platform::MessageResult::Yes && !document->DoFileSave()) {
                m_app.m_bPromptAnswered = false;
                event->ignore();
                return;
            }
        }
    }
    m_bClosing = true;
    if (CLindarDoc* open = GetActiveDocument())
        open->CloseBook();
    m_app.SaveFrameState(*this);
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    // One book at a time: the first dropped book file is opened.
    for (const QUrl& url : event->mimeData()->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && QFileInfo(path).suffix().compare(QStringLiteral("epub"), Qt::CaseInsensitive) == 0) {
            event->acceptProposedAction();
            m_app.OpenBookFile(QFileInfo(path).absoluteFilePath());
            return;
        }
    }
}
