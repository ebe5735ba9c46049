// The main frame's command dispatcher and the commands that need no book.
#include "editor/MainFrame.h"

#include "editor/Accelerators.h"
#include "editor/AboutDlg.h"
#include "editor/BookCommands.h"
#include "editor/BookPanes.h"
#include "editor/ChapterCommands.h"
#include "editor/CommandIds.h"
#include "editor/CommandTable.h"
#include "editor/EditorTexts.h"
#include "editor/LindarApp.h"
#include "editor/LindarDoc.h"
#include "editor/LindarView.h"
#include "panes/PropertiesWnd.h"
#include "platform/core/KnownFolders.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Shell.h"
#include "platform/ui/DockPane.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/ModalDialogs.h"
#include "platform/ui/RibbonBar.h"

#include <QApplication>
#include <QFileInfo>

void CMainFrame::OnCommand(int id)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!CCommandTable::NeedsBook(id)) {
        RunFrameCommand(id);
    } else {
        CLindarDoc* document = GetActiveDocument();
        if (document && GetActiveView())
            RunBookCommand(id, *document);
    }
    RedrawAll();
    UpdateCommandStates();
    QApplication::restoreOverrideCursor();
}

void CMainFrame::RunBookCommand(int id, CLindarDoc& document)
{
    // A command none of the groups knows does nothing. Closing may destroy the document,
    // so nothing may follow a routine that ran.
    RunChapterCommand(id, document) || RunControlActionCommand(id, document) || RunEditingCommand(id, document)
        || RunBookFileCommand(id, *this, document) || RunPaneCommand(id);
}

bool CMainFrame::RunPaneCommand(int id)
{
    if (id != cmd::AddAttribute)
        return false;
    m_pPanes->PropertiesWnd()->OnAddItem();
    return true;
}

void CMainFrame::RunFrameCommand(int id)
{
    switch (id) {
    case cmd::NewFile:
        m_app.RunTemplateChooser();
        break;
    case cmd::FileOpen:
        OnFileOpen();
        break;
    case cmd::AppExit:
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        break;
    case cmd::AboutRibbon:
    case cmd::AppAbout:
        OnAppAbout();
        break;
    case cmd::ShowPanes:
        m_pPanes->ShowWorkPanes();
        break;
    case cmd::ShowNavigation:
        m_pPanes->NaviPane()->show();
        m_pPanes->NaviPane()->raise();
        m_pPanes->NaviPane()->widget()->setFocus();
        break;
    case cmd::Help:
        OnHelp();
        break;
    case cmd::Inquiry:
        platform::ShowMessage(texts::ServiceNotReady(), texts::AppTitle(), platform::MessageButtons::Ok,
                              platform::MessageIcon::None, this);
        break;
    case cmd::ConversionTool:
        OnConversionTool();
        break;
    default:
        break;
    }
}

bool CMainFrame::IsCommandEnabled(int id) const
{
    if (CCommandTable::NeedsBook(id) && !(GetActiveDocument() && GetActiveView()))
        return false;
    if (id == cmd::PaperA4)
        return m_bDevicePaper;
    if (id == cmd::PaperDevice)
        return m_bA4Paper;
    return true;
}

void CMainFrame::UpdateCommandStates()
{
    for (const CommandRow& row : CCommandTable::Rows()) {
        const bool enabled = IsCommandEnabled(row.id);
        m_pRibbon->setCommandEnabled(row.id, enabled);
        m_pAccelerators->SetEnabled(row.id, enabled);
    }
}

void CMainFrame::SetPaperFlags(bool a4)
{
    m_bA4Paper = a4;
    m_bDevicePaper = !a4;
    UpdateCommandStates();
}

void CMainFrame::RedrawAll()
{
    update();
    for (QWidget* child : findChildren<QWidget*>())
        child->update();
}

void CMainFrame::OnFileOpen()
{
    platform::FileDialogRequest request;
    request.kind = platform::FileDialogRequest::Kind::Open;
    request.filter = texts::FileFilter();
    request.defaultSuffix = texts::FileExtension().mid(1);
    request.owner = this;
    const QString path = platform::AskFileName(request);
    if (!path.isEmpty())
        m_app.OpenBookFile(path);
}

void CMainFrame::OnAppAbout()
{
    CAboutDlg dialog(this);
    platform::RunModalDialog(dialog);
}

void CMainFrame::OnHelp()
{
    const QString page = platform::ProgramDataFolder(QStringLiteral("help")) + QLatin1Char('/') + texts::HelpFile();
    if (!QFileInfo(page).isFile() || !platform::ShellOpen(page))
        platform::ShowMessage(texts::HelpMissing().arg(page), texts::AppTitle(), platform::MessageButtons::Ok,
                              platform::MessageIcon::Warning, this);
}

void CMainFrame::OnConversionTool()
{
    // The tool is a product of its own: beside the editor when installed with it, else
    // wherever the system finds programs.
    const QString besideUs = platform::ProgramFolder() + QLatin1Char('/') + texts::ConversionTool();
    const QString program = QFileInfo(besideUs).isFile() ? besideUs : texts::ConversionTool();
    if (!platform::ShellStart(program))
        platform::ShowMessage(texts::ConversionToolMissing().arg(program), texts::AppTitle(),
                              platform::MessageButtons::Ok, platform::MessageIcon::Warning, this);
}
