#include "components/transcoder/PdfInfoUpdate.h"

#include <QRegularExpression>

namespace kvxpdf {
namespace {

constexpr qsizetype kTailKept = 4096;

// A PDF text string in UTF-16BE with its byte-order mark, written as hex.
QByteArray pdfText(const QString& text)
{
    QByteArray bytes("\xFE\xFF", 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() >> 8));
        bytes.append(char(c.unicode() & 0xFF));
    }
    return '<' + bytes.toHex().toUpper() + '>';
}

} // namespace

PdfInfoUpdate::PdfInfoUpdate(QIODevice* target) : m_target(target)
{
    open(QIODevice::WriteOnly);
}

qint64 PdfInfoUpdate::writeData(const char* data, qint64 length)
{
    const qint64 written = m_target->write(data, length);
    if (written > 0) {
        m_written += written;
        // Trimmed only now and then: the writer sends many small pieces.
        if (written >= kTailKept) {
            m_tail = QByteArray(data + written - kTailKept, kTailKept);
        } else {
            m_tail.append(data, written);
            if (m_tail.size() > 4 * kTailKept)
                m_tail.remove(0, m_tail.size() - kTailKept);
        }
    }
    return written;
}

bool PdfInfoUpdate::appendInfo(const QString& title, const QString& author, const QString& creator)
{
    const QString tail = QString::fromLatin1(m_tail.right(kTailKept));
    const QRegularExpressionMatch size = QRegularExpression(QStringLiteral("/Size\\s+(\\d+)")).match(tail);
    const QRegularExpressionMatch root = QRegularExpression(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)")).match(tail);
    const qsizetype xrefAt = tail.lastIndexOf(QStringLiteral("startxref"));
    const QRegularExpressionMatch xref
        = QRegularExpression(QStringLiteral("startxref\\s+(\\d+)")).match(tail, xrefAt < 0 ? 0 : xrefAt);
    if (!size.hasMatch() || !root.hasMatch() || xrefAt < 0 || !xref.hasMatch())
        return false;
    const qint64 object = size.captured(1).toLongLong();

    QByteArray update("\n");
    const qint64 objectAt = m_written + update.size();
    update += QByteArray::number(object) + " 0 obj\n<<\n";
    if (!title.isEmpty())
        update += "/Title " + pdfText(title) + '\n';
    if (!author.isEmpty())
        update += "/Author " + pdfText(author) + '\n';
    update += "/Creator " + pdfText(creator) + "\n/Producer " + pdfText(creator) + "\n>>\nendobj\n";
    const qint64 tableAt = m_written + update.size();
    update += "xref\n" + QByteArray::number(object) + " 1\n"
        + QByteArray::number(objectAt).rightJustified(10, '0') + " 00000 n \n";
    update += "trailer\n<<\n/Size " + QByteArray::number(object + 1) + "\n/Root " + root.captured(1).toLatin1()
        + "\n/Info " + QByteArray::number(object) + " 0 R\n/Prev " + xref.captured(1).toLatin1() + "\n>>\nstartxref\n"
        + QByteArray::number(tableAt) + "\n%%EOF\n";
    return write(update) == update.size();
}

} // namespace kvxpdf
