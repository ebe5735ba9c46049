#pragma once
#include <QWidget>
#include <memory>

class CLindarDoc;
class CLindarView;
class CMainFrame;

// The chapter window: one per book, shown as the main window's only tab. It holds the
// chapter view and keeps the book's document alive as long as the window lives.
class CChildFrame : public QWidget {
    Q_OBJECT
public:
    CChildFrame(CMainFrame& mainFrame, std::unique_ptr<CLindarDoc> document);
    // The view (and the control in it) go first, then the document with its package model.
    ~CChildFrame() override;

    CLindarDoc* GetDocument() const { return m_pDocument.get(); }
    CLindarView* GetView() const { return m_pView; }

private:
    std::unique_ptr<CLindarDoc> m_pDocument;
    CLindarView* m_pView;
};
