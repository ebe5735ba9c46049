#include "components/printjob/TextPages.h"

#include "components/emfwriter/EmfWriter.h"

namespace printjob {
namespace {

constexpr int kDpi = 96;
constexpr int kMargin = 72;     // device pixels, three quarters of an inch
constexpr int kLineHeight = 19; // device pixels for a 14-pixel font
constexpr int kFontHeight = -14;

} // namespace

QList<QStringList> PaginateText(const QString& text, const TextLayout& layout)
{
    QStringList lines;
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(u'\t', QStringLiteral("    "));
    for (const QString& line : normalised.split(u'\n')) {
        if (line.isEmpty())
            lines.append(QString());
        for (qsizetype at = 0; at < line.size(); at += layout.columns)
            lines.append(line.mid(at, layout.columns));
    }
    while (!lines.isEmpty() && lines.constLast().trimmed().isEmpty())
        lines.removeLast();

    QList<QStringList> pages;
    for (qsizetype at = 0; at < lines.size(); at += layout.linesPerPage)
        pages.append(lines.mid(at, layout.linesPerPage));
    if (pages.isEmpty())
        pages.append(QStringList()); // an empty text still prints one blank page
    return pages;
}

QList<QByteArray> RenderTextPages(const QString& text, const TextLayout& layout)
{
    QList<QByteArray> metafiles;
    for (const QStringList& page : PaginateText(text, layout)) {
        emfwriter::EmfWriter writer(QSizeF(210.0, 297.0), kDpi);
        const std::uint32_t font = writer.createFont(kFontHeight, 400, false, QStringLiteral("Monospace"));
        writer.selectObject(font);
        writer.setBkMode(1); // transparent
        writer.setTextColor(emfwriter::rgb(0, 0, 0));
        for (qsizetype i = 0; i < page.size(); ++i) {
            if (!page.at(i).isEmpty())
                writer.textOut(QPoint(kMargin, kMargin + int(i) * kLineHeight), page.at(i));
        }
        metafiles.append(writer.finish());
    }
    return metafiles;
}

} // namespace printjob
