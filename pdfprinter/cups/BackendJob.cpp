#include "pdfprinter/cups/BackendJob.h"

#include "pdfprinter/converter/DefaultPdfName.h"

#include <QUrl>

namespace {

constexpr qsizetype kMaxFileNameBytes = 255;
const QString kPdf = QStringLiteral(".pdf");

// The longest start of text whose UTF-8 form fits in bytes.
QString fitted(const QString& text, qsizetype bytes)
{
    QString cut = text;
    while (cut.toUtf8().size() > bytes) {
        cut.chop(1);
        if (!cut.isEmpty() && cut.back().isHighSurrogate())
            cut.chop(1);
    }
    return cut;
}

} // namespace

bool CBackendJob::Parse(const QStringList& arguments)
{
    if (arguments.size() != 6 && arguments.size() != 7)
        return false;
    m_strJobId = arguments.at(1);
    m_strUser = arguments.at(2);
    m_strTitle = arguments.at(3);
    m_strFile = arguments.value(6);
    return true;
}

QString PdfFolderFor(const QString& deviceUri, const QString& home, const QString& user)
{
    if (!deviceUri.startsWith(QStringLiteral("kvxpdf:")))
        return {};
    const QString base = QUrl::fromPercentEncoding(deviceUri.mid(7).toUtf8());
    // Only a single leading slash: "kvxpdf://host/..." names no local folder.
    if (base.startsWith(QStringLiteral("//")) || (!base.isEmpty() && !base.startsWith(u'/')))
        return {};
    if (user.isEmpty() || user.contains(u'/') || user == QStringLiteral(".") || user == QStringLiteral(".."))
        return {};
    QString folder = base;
    while (folder.endsWith(u'/'))
        folder.chop(1);
    if (folder.isEmpty())
        return home.startsWith(u'/') ? home + QStringLiteral("/PDF") : QString();
    return folder + u'/' + user;
}

QString JobPdfName(const QString& title, int n)
{
    QString base = MakeDefaultPdfName(title);
    base.chop(kPdf.size());
    const QString suffix = (n > 0 ? QString::asprintf("(%02d)", n) : QString()) + kPdf;
    return fitted(base, kMaxFileNameBytes - suffix.toUtf8().size()) + suffix;
}
