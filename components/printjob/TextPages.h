#pragma once
// Lays a plain text out on A4 pages, one enhanced metafile per page, for trying the
// printer without a program that prints.
#include <QByteArray>
#include <QList>
#include <QString>

namespace printjob {

struct TextLayout {
    int linesPerPage = 50;
    int columns = 80; // longer lines wrap
};

QList<QByteArray> RenderTextPages(const QString& text, const TextLayout& layout = {});

// The page lines the text gives, before drawing (also used to count pages).
QList<QStringList> PaginateText(const QString& text, const TextLayout& layout = {});

} // namespace printjob
