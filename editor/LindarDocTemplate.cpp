#include "editor/LindarDocTemplate.h"

#include "editor/BookOpenTurns.h"
#include "editor/ChildFrame.h"
#include "editor/EditorTexts.h"
#include "editor/LindarApp.h"
#include "editor/LindarDoc.h"
#include "editor/LindarView.h"
#include "editor/MainFrame.h"

#include <memory>

CLindarDocTemplate::CLindarDocTemplate(CLindarApp& app)
    : m_app(app)
{
}

CLindarDoc* CLindarDocTemplate::OpenDocumentFile(const QString& path) { return CreateAndLoad(path); }

CLindarDoc* CLindarDocTemplate::OpenNewDocument() { return CreateAndLoad(QString()); }

CLindarDoc* CLindarDocTemplate::CreateAndLoad(const QString& path)
{
    CMainFrame* frame = m_app.MainFrame();
    // While one book opens, the window's turns must not start another.
    if (!frame || frame->m_bOpeningBook)
        return nullptr;

    // Making the new chapter window closes the one that is open, and with it the old book.
    if (CChildFrame* old = frame->GetActiveChildFrame()) {
        if (!old->GetDocument()->CloseBook())
            return nullptr; // the user kept the old book
    }

    const CBookOpenTurns turns(*frame);
    auto* child = new CChildFrame(*frame, std::make_unique<CLindarDoc>(m_app, *frame));
    CLindarDoc* document = child->GetDocument();
    bool loaded;
    if (path.isEmpty()) {
        document->SetTitle(texts::DocumentName() + QString::number(++m_nUntitledCount));
        loaded = document->OnNewDocument();
    } else {
        loaded = document->OnOpenDocument(path);
        if (loaded)
            document->SetPathName(path);
    }
    if (!loaded) {
        delete child; // takes the view and the document with it
        frame->ShowNoBook(); // the old book is closed, and the refused one shows nothing
        return nullptr;
    }
    frame->AddChildFrame(child);
    platform::LongWorkStep(); // the panes are filled; the first chapter comes next
    child->GetView()->OnInitialUpdate();
    frame->UpdateCaption();
    return document;
}
