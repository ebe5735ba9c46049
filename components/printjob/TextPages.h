#pragma once
// Lays a plain text out on A4 pages, one enhanced metafile per page, for trying the
// printer without a program that prints. Lines wrap where their measured width reaches
// the right margin (the font's own advances, Hangul included); a form feed starts a new
// page. The text is read and laid out a page at a time, so any length fits in memory.
// Needs a QGuiApplication (fonts).
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QIODevice;

namespace printjob {

struct TextLayout {
    int linesPerPage = 50;
};

// Reads UTF-8 text from a device and gives it back page by page.
class TextPager {
public:
    explicit TextPager(QIODevice* text, const TextLayout& layout = {});
    ~TextPager();
    TextPager(const TextPager&) = delete;
    TextPager& operator=(const TextPager&) = delete;

    // The next page's lines; false after the last page. An empty text gives one blank page.
    bool nextPage(QStringList* lines);

private:
    class Private;
    std::unique_ptr<Private> d;
};

// Draws one page's lines, each character at the advance the layout measured.
QByteArray RenderTextPage(const QStringList& lines);

// The width a line takes on the page, and the room there is (device pixels).
double TextLineWidth(const QString& line);
double TextLineRoom();

// Every page of a text held in memory (tests, short texts).
QList<QStringList> PaginateText(const QString& text, const TextLayout& layout = {});

} // namespace printjob
