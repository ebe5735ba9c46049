#pragma once
// The control's document. Pictures are read only from local files, relative to the
// chapter's folder. Style sheets are never applied (see ChapterHead::prepareBody).
#include <QTextDocument>

namespace tdx {

class TextDocument : public QTextDocument {
public:
    explicit TextDocument(QObject* parent = nullptr) : QTextDocument(parent) {}

    void setFolder(const QString& folder) { m_folder = folder; }
    // Chapters come from books and may only name pictures relative to themselves; our own
    // document files also link pictures by absolute path.
    void setAbsolutePathsAllowed(bool allowed) { m_absoluteAllowed = allowed; }
    QString folder() const { return m_folder; }
    // The local file a resource name refers to, or empty for anything else.
    QString localPath(const QString& name) const;

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QString m_folder;
    bool m_absoluteAllowed = false;
};

} // namespace tdx
