#include "editor/ChildFrame.h"

#include "editor/LindarDoc.h"
#include "editor/LindarView.h"
#include "editor/MainFrame.h"

#include <QVBoxLayout>

CChildFrame::CChildFrame(CMainFrame& mainFrame, std::unique_ptr<CLindarDoc> document)
    : QWidget(nullptr)
    , m_pDocument(std::move(document))
    , m_pView(new CLindarView(mainFrame, *m_pDocument))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pView);
}

CChildFrame::~CChildFrame()
{
    delete m_pView; // clears the document's pointer to the control on its way out
    m_pView = nullptr;
    m_pDocument.reset();
}
