#pragma once
#include <QString>

class CLindarApp;
class CLindarDoc;

// The document template: makes a book document with its chapter window and view, opens
// or creates the book in it, and numbers untitled books "ePub1", "ePub2", ...
class CLindarDocTemplate {
public:
    explicit CLindarDocTemplate(CLindarApp& app);

    // Null when the book could not be opened; the new window is gone again then.
    CLindarDoc* OpenDocumentFile(const QString& path);
    CLindarDoc* OpenNewDocument();

    int UntitledCount() const { return m_nUntitledCount; }

private:
    CLindarDoc* CreateAndLoad(const QString& path);

    CLindarApp& m_app;
    int m_nUntitledCount = 0;
};
