#pragma once
// One file-dialog service for the GUI programs: Qt dialogs on screen, a script in tests.
#include <QList>
#include <QQueue>
#include <QString>

namespace platform {

struct FileDialogRequest {
    enum class Kind { Open, Save } kind = Kind::Open;
    QString caption;
    QString filter;        // e.g. "Lindar Files (*.epub)"
    QString defaultSuffix; // without the dot, appended to a typed name that has none
    QString initialPath;   // folder or proposed file name
    const void* owner = nullptr; // QWidget*; null for none
};

class FileDialogBackend {
public:
    virtual ~FileDialogBackend() = default;
    // The chosen path, or an empty string when the user cancelled.
    virtual QString choose(const FileDialogRequest& request) = 0;
};

void setFileDialogBackend(FileDialogBackend* backend); // not owned; null restores the Qt backend
FileDialogBackend* fileDialogBackend();

QString AskFileName(const FileDialogRequest& request);

class QtFileDialogs : public FileDialogBackend {
public:
    QString choose(const FileDialogRequest& request) override;
};

// Records every request and answers from a queue; an empty queue answers "cancelled".
class ScriptedFileDialogs : public FileDialogBackend {
public:
    QString choose(const FileDialogRequest& request) override;
    void enqueue(const QString& path) { m_answers.enqueue(path); }
    const QList<FileDialogRequest>& asked() const { return m_asked; }

private:
    QList<FileDialogRequest> m_asked;
    QQueue<QString> m_answers;
};

class ScopedFileDialogBackend {
public:
    explicit ScopedFileDialogBackend(FileDialogBackend* backend);
    ~ScopedFileDialogBackend();
    ScopedFileDialogBackend(const ScopedFileDialogBackend&) = delete;
    ScopedFileDialogBackend& operator=(const ScopedFileDialogBackend&) = delete;

private:
    FileDialogBackend* m_previous;
};

} // namespace platform
