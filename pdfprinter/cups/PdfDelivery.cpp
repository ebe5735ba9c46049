#include "pdfprinter/cups/PdfDelivery.h"

#include "pdfprinter/cups/BackendJob.h"

#include <QDir>
#include <QFile>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxAlternatives = 99;

char g_pending[4096] = {};

QString errnoText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Makes the folder and any missing parents, private to their owner.
bool makeFolder(const QString& folder, QString* error)
{
    const QByteArray path = QFile::encodeName(folder);
    for (qsizetype at = 1; at <= path.size(); ++at) {
        if (at < path.size() && path.at(at) != '/')
            continue;
        const QByteArray part = path.left(at);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST) {
            *error = QStringLiteral("cannot make the folder %1: %2").arg(QFile::decodeName(part), errnoText(errno));
            return false;
        }
    }
    struct stat info {};
    if (::stat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        *error = QStringLiteral("%1 is not a folder").arg(folder);
        return false;
    }
    return true;
}

// Moves the finished file to its name, or to the next free alternative.
QString placeFinished(const QByteArray& temporary, const CPdfDeliveryRequest& request, QString* error)
{
    for (int n = 0; n <= kMaxAlternatives; ++n) {
        const QString path = request.m_strFolder + u'/' + JobPdfName(request.m_strTitle, n);
        const QByteArray target = QFile::encodeName(path);
        // Never over an existing file; folders that cannot rename that way take a hard link.
        int moved = ::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE);
        if (moved != 0 && errno == EINVAL && ::link(temporary.constData(), target.constData()) == 0) {
            ::unlink(temporary.constData());
            moved = 0;
        }
        if (moved == 0)
            return path;
        if (errno != EEXIST) {
            *error = QStringLiteral("cannot save %1: %2").arg(path, errnoText(errno));
            return {};
        }
    }
    *error = QStringLiteral("every name for \"%1\" up to (%2) is taken in %3")
                 .arg(JobPdfName(request.m_strTitle), QString::number(kMaxAlternatives), request.m_strFolder);
    return {};
}

} // namespace

const char* CPdfDelivery::PendingFile() { return g_pending; }

QString CPdfDelivery::Deliver(std::FILE* input, const CPdfDeliveryRequest& request, QString* error)
{
    if (!makeFolder(request.m_strFolder, error))
        return {};
    QByteArray temporary = QFile::encodeName(request.m_strFolder + QStringLiteral("/.kvxpdf-XXXXXX"));
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        *error = QStringLiteral("cannot write in %1: %2").arg(request.m_strFolder, errnoText(errno));
        return {};
    }
    ::fchmod(fd, 0600);
    std::snprintf(g_pending, sizeof g_pending, "%s", temporary.constData());
    std::FILE* output = ::fdopen(fd, "wb");

    bool written = false;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile("job", input, false);
        QPDFObjectHandle trailer = pdf.getTrailer();
        QPDFObjectHandle info = trailer.getKey("/Info");
        if (!info.isDictionary()) {
            info = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
            trailer.replaceKey("/Info", info);
        }
        if (!request.m_strTitle.isEmpty())
            info.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(request.m_strTitle.toStdString()));
        info.replaceKey("/Author", QPDFObjectHandle::newUnicodeString(request.m_strAuthor.toStdString()));
        QPDFWriter writer(pdf);
        writer.setOutputFile("output", output, false);
        writer.write();
        written = std::fflush(output) == 0 && ::fsync(fd) == 0;
        if (!written)
            *error = QStringLiteral("cannot write in %1: %2").arg(request.m_strFolder, errnoText(errno));
    } catch (const std::exception& problem) {
        *error = QStringLiteral("the job is not a readable PDF: %1").arg(QString::fromStdString(problem.what()));
    }
    std::fclose(output);

    QString path;
    if (written)
        path = placeFinished(temporary, request, error);
    if (path.isEmpty())
        ::unlink(temporary.constData());
    g_pending[0] = 0;
    return path;
}
