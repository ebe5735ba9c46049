#include "pdfprinter/converter/OutputPath.h"

#include "pdfprinter/converter/ConvertJob.h"
#include "pdfprinter/converter/ConverterStrings.h"
#include "pdfprinter/converter/DefaultPdfName.h"
#include "platform/core/MessageBox.h"

#include <QFile>
#include <QFileDialog>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

void showError(const QString& text, QWidget* owner)
{
    platform::ShowMessage(text, ConverterCaption(), platform::MessageButtons::Ok,
                          platform::MessageIcon::Error, owner);
}

} // namespace

QStringList SaveAsNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size() && !parts.at(i).isEmpty(); i += 2)
        filters.append(parts.at(i) + QStringLiteral(" (") + parts.at(i + 1) + u')');
    return filters;
}

bool RunSaveAsDialog(const SaveAsDialogRequest& request, QString* chosen)
{
    QFileDialog dialog(request.owner, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QString suffix = request.defaultExtension;
    if (suffix.startsWith(u'.'))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    dialog.setNameFilters(SaveAsNameFilters(request.filter));
    dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    *chosen = dialog.selectedFiles().constFirst();
    return true;
}

bool CheckOutputFile(const QString& path, QWidget* owner, bool* created)
{
    if (created)
        *created = false;
    const QByteArray name = QFile::encodeName(path);
    // An existing file is only opened, never emptied: it is replaced once the new PDF is
    // complete, and stays as it was when the conversion fails.
    bool made = false;
    int fd = -1;
    int error = ENOENT;
    if (!name.isEmpty()) {
        fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        made = fd >= 0;
        if (fd < 0 && errno == EEXIST)
            fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
        error = errno;
    }
    if (fd >= 0) {
        // Nothing else may hold the file: an advisory lock stands in for "no sharing".
        const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        error = errno;
        ::close(fd);
        if (free) {
            if (created)
                *created = made;
            return true;
        }
    }
    if (error == EWOULDBLOCK)
        showError(FormatConverterString(IDS_FILE_IN_USE, {path}), owner);
    else
        showError(QString::fromLocal8Bit(std::strerror(error)), owner);
    return false;
}

bool OutputPathFits(const _tagCONVERT_JOB& job)
{
    return std::find(std::begin(job.szOutputPath), std::end(job.szOutputPath), u'\0') != std::end(job.szOutputPath);
}

bool AskOutputPath(_tagCONVERT_JOB& job, QWidget* owner, const SaveAsPrompt& prompt, bool* created)
{
    SaveAsDialogRequest request;
    request.title = LoadConverterString(IDS_SAVE_AS_TITLE);
    request.defaultExtension = LoadConverterString(IDS_SAVE_AS_EXTENSION);
    request.filter = LoadConverterString(IDS_SAVE_AS_FILTER);
    request.fileName = MakeDefaultPdfName(JobText(job.szDocumentName));
    request.owner = owner;
    for (;;) {
        QString chosen;
        if (!prompt(request, &chosen))
            return false;
        // A path the block cannot hold would be cut and then name another file.
        if (chosen.size() >= qsizetype(std::size(job.szOutputPath)))
            showError(QString::fromLocal8Bit(std::strerror(ENAMETOOLONG)), owner);
        else if (CheckOutputFile(chosen, owner, created)) {
            SetJobText(job.szOutputPath, chosen);
            return true;
        }
        request.fileName = chosen;
    }
}
