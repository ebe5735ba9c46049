#pragma once
// The control's document. Resources (pictures, style sheets) are read only from local
// files, relative to the chapter's folder; style sheets are passed through the em
// conversion, or left out when the document takes the control's styles instead.
#include <QTextDocument>

namespace tdx {

class TextDocument : public QTextDocument {
public:
    explicit TextDocument(QObject* parent = nullptr) : QTextDocument(parent) {}

    void setFolder(const QString& folder) { m_folder = folder; }
    QString folder() const { return m_folder; }
    void setUseOwnStyleSheets(bool use) { m_ownStyleSheets = use; }
    // The local file a resource name refers to, or empty for anything else.
    QString localPath(const QString& name) const;

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QString m_folder;
    bool m_ownStyleSheets = true;
};

} // namespace tdx
