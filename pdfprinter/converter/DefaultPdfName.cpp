#include "pdfprinter/converter/DefaultPdfName.h"

#include "pdfprinter/converter/ConverterStrings.h"

#include <QByteArray>

namespace {

// The name buffer holds 1024 bytes with its terminator.
constexpr qsizetype kMaxNameBytes = 1023;

bool isFolderSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

bool mustReplace(char c)
{
    // Bytes of multi-byte characters are negative as signed chars and never touched.
    if (c < 0)
        return false;
    if (c < 0x20 || c == 0x7F)
        return true;
    return QByteArrayView("\\/:*?\"<>|").contains(c);
}

// Cuts to at most max bytes without splitting a UTF-8 sequence.
QByteArray cutAtCharacter(const QByteArray& bytes, qsizetype max)
{
    if (bytes.size() <= max)
        return bytes;
    qsizetype end = max;
    while (end > 0 && (static_cast<unsigned char>(bytes.at(end)) & 0xC0) == 0x80)
        --end;
    return bytes.left(end);
}

} // namespace

QString MakeDefaultPdfName(const QString& documentName)
{
    QByteArray name = documentName.toLocal8Bit();

    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0) {
        name.truncate(dot);
        qsizetype separator = -1;
        for (qsizetype i = 0; i < name.size(); ++i) {
            if (isFolderSeparator(name.at(i)))
                separator = i;
        }
        if (separator >= 0 && separator + 1 < name.size())
            name = name.mid(separator + 1);
    }

    const QStringList prefixes = LoadConverterString(IDS_APP_PREFIXES).split(u'|');
    for (const QString& prefix : prefixes) {
        const QByteArray token = prefix.toLocal8Bit();
        if (!token.isEmpty() && name.startsWith(token)) {
            name.remove(0, token.size());
            break;
        }
    }

    if (name.isEmpty())
        return QStringLiteral("Untitled.pdf");

    for (char& c : name) {
        if (mustReplace(c))
            c = '_';
    }
    while (name.endsWith(' '))
        name.chop(1);
    while (name.startsWith(' '))
        name.remove(0, 1);

    const QByteArray extension(".pdf");
    return QString::fromLocal8Bit(cutAtCharacter(name, kMaxNameBytes - extension.size()) + extension);
}
