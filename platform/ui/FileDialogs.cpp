#include "platform/ui/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace platform {
namespace {

QtFileDialogs& qtDialogs()
{
    static QtFileDialogs dialogs;
    return dialogs;
}

FileDialogBackend* g_backend = nullptr;

} // namespace

void setFileDialogBackend(FileDialogBackend* backend) { g_backend = backend; }

FileDialogBackend* fileDialogBackend() { return g_backend ? g_backend : &qtDialogs(); }

QString AskFileName(const FileDialogRequest& request) { return fileDialogBackend()->choose(request); }

QString QtFileDialogs::choose(const FileDialogRequest& request)
{
    auto* owner = static_cast<QWidget*>(const_cast<void*>(request.owner));
    QFileDialog dialog(owner, request.caption, request.initialPath, request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (request.kind == FileDialogRequest::Kind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QFileInfo(dialog.selectedFiles().first()).absoluteFilePath();
}

QString ScriptedFileDialogs::choose(const FileDialogRequest& request)
{
    m_asked.append(request);
    return m_answers.isEmpty() ? QString() : m_answers.dequeue();
}

ScopedFileDialogBackend::ScopedFileDialogBackend(FileDialogBackend* backend)
    : m_previous(g_backend)
{
    g_backend = backend;
}

ScopedFileDialogBackend::~ScopedFileDialogBackend() { g_backend = m_previous; }

} // namespace platform
