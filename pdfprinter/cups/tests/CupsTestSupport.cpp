#include "pdfprinter/cups/tests/CupsTestSupport.h"

#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cupstest {

void WritePdf(const QString& path, const QString& text)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setTitle("made by the test");
    QPainter painter(&writer);
    QFont font("DejaVu Sans");
    font.setPointSize(14);
    painter.setFont(font);
    painter.drawText(QPointF(500, 1000), text);
}

QString PdfText(const QString& pdf)
{
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    text.waitForFinished(30000);
    return QString::fromUtf8(text.readAllStandardOutput());
}

QString PdfInfo(const QString& pdf, const QString& field)
{
    QProcess info;
    info.start("pdfinfo", {pdf});
    info.waitForFinished(30000);
    const QRegularExpression line("^" + QRegularExpression::escape(field) + ":\\s*(.*)$",
                                  QRegularExpression::MultilineOption);
    return line.match(QString::fromUtf8(info.readAllStandardOutput())).captured(1).trimmed();
}

OpenFolder::OpenFolder()
{
    QByteArray folder = QFile::encodeName(QDir::rootPath() + "tmp/kvx-pdf-XXXXXX");
    if (::mkdtemp(folder.data())) {
        ::chmod(folder.constData(), 01777);
        m_path = QFile::decodeName(folder);
    }
}

OpenFolder::~OpenFolder()
{
    if (!m_path.isEmpty())
        QDir(m_path).removeRecursively();
}

QString CurrentUser()
{
    const passwd* entry = ::getpwuid(::geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

} // namespace cupstest
