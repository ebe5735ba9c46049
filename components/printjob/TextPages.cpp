#include "components/printjob/TextPages.h"

#include "components/emfwriter/EmfWriter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QTextStream>

#include <cmath>

namespace printjob {
namespace {

constexpr int kDpi = 96;
constexpr int kMargin = 72;     // device pixels, three quarters of an inch
constexpr int kLineHeight = 19; // device pixels for a 14-pixel font
constexpr int kFontHeight = 14;
constexpr qsizetype kChunk = 16384; // characters read at a time
const QSizeF kA4(210.0, 297.0);

// The face the page names; the transcoder falls back to NanumGothic for Hangul, as here.
const QString kFace = QStringLiteral("Monospace");

// Advances of the page's font, without hinting (the PDF is drawn from the outlines).
class TextFont {
public:
    static TextFont& instance()
    {
        static TextFont font;
        return font;
    }

    double advance(char32_t c)
    {
        const auto found = m_cache.constFind(c);
        if (found != m_cache.constEnd())
            return *found;
        const double width = m_metrics.horizontalAdvance(QString::fromUcs4(&c, 1));
        m_cache.insert(c, width);
        return width;
    }

private:
    static QFont makeFont()
    {
        QFont font;
        font.setFamilies({kFace, QStringLiteral("NanumGothic")});
        font.setPixelSize(kFontHeight);
        font.setKerning(false);
        font.setHintingPreference(QFont::PreferNoHinting);
        return font;
    }

    TextFont() : m_metrics(makeFont()) {}

    QFontMetricsF m_metrics;
    QHash<char32_t, double> m_cache;
};

// Calls f(code point, UTF-16 length) for each character of a line.
template <typename F>
void forEachCharacter(const QString& line, F f)
{
    for (qsizetype i = 0; i < line.size();) {
        const bool pair = line.at(i).isHighSurrogate() && i + 1 < line.size() && line.at(i + 1).isLowSurrogate();
        f(pair ? QChar::surrogateToUcs4(line.at(i), line.at(i + 1)) : char32_t(line.at(i).unicode()), pair ? 2 : 1);
        i += pair ? 2 : 1;
    }
}

// Integer advances whose running sum stays within half a pixel of the measured one.
QList<int> lineAdvances(const QString& line)
{
    QList<int> advances;
    advances.reserve(line.size());
    double exact = 0;
    int placed = 0;
    forEachCharacter(line, [&](char32_t c, int units) {
        exact += TextFont::instance().advance(c);
        const int next = int(std::lround(exact));
        advances.append(next - placed);
        if (units == 2)
            advances.append(0);
        placed = next;
    });
    return advances;
}

bool isBlank(const QString& line) { return line.trimmed().isEmpty(); }

} // namespace

class TextPager::Private {
public:
    Private(QIODevice* device, const TextLayout& layout) : stream(device), layout(layout) {}

    void endLine()
    {
        page.append(line);
        line.clear();
        width = 0;
        afterFullPage = false;
        if (page.size() >= layout.linesPerPage) {
            ready.append(page);
            page.clear();
            afterFullPage = true;
        }
    }

    void formFeed()
    {
        if (!line.isEmpty())
            endLine();
        // A page that just filled up has already gone; the feed only starts the next one.
        if (page.isEmpty() && afterFullPage) {
            afterFullPage = false;
            return;
        }
        ready.append(page);
        page.clear();
        afterFullPage = false;
    }

    void add(char32_t c)
    {
        const double advance = TextFont::instance().advance(c);
        if (!line.isEmpty() && width + advance > room)
            endLine();
        if (c > 0xFFFF) {
            line.append(QChar::highSurrogate(c));
            line.append(QChar::lowSurrogate(c));
        } else {
            line.append(QChar(char16_t(c)));
        }
        width += advance;
    }

    void take(char32_t c)
    {
        const bool afterCr = lastWasCr;
        lastWasCr = c == u'\r';
        switch (c) {
        case u'\n':
            if (!afterCr)
                endLine();
            return;
        case u'\r':
            endLine();
            return;
        case u'\f':
            formFeed();
            return;
        case u'\t':
            for (int i = 0; i < 4; ++i)
                add(u' ');
            return;
        default:
            if (c < 0x20 || c == 0x7F)
                return; // other control codes draw nothing
            add(c);
        }
    }

    void readMore()
    {
        QString chunk = pendingHigh + stream.read(kChunk);
        pendingHigh.clear();
        if (chunk.isEmpty()) {
            finish();
            return;
        }
        if (chunk.back().isHighSurrogate() && !stream.atEnd()) {
            pendingHigh = chunk.back();
            chunk.chop(1);
        }
        forEachCharacter(chunk, [&](char32_t c, int) { take(c); });
    }

    void finish()
    {
        ended = true;
        if (!line.isEmpty())
            endLine();
        while (!page.isEmpty() && isBlank(page.constLast()))
            page.removeLast();
        if (!page.isEmpty() || (given == 0 && ready.isEmpty()))
            ready.append(page);
        page.clear();
    }

    QTextStream stream;
    TextLayout layout;
    const double room = TextLineRoom();
    QList<QStringList> ready;
    QStringList page;
    QString line;
    QString pendingHigh;
    double width = 0;
    bool lastWasCr = false;
    bool afterFullPage = false;
    bool ended = false;
    qsizetype given = 0;
};

TextPager::TextPager(QIODevice* text, const TextLayout& layout) : d(std::make_unique<Private>(text, layout)) {}

TextPager::~TextPager() = default;

bool TextPager::nextPage(QStringList* lines)
{
    while (d->ready.isEmpty() && !d->ended)
        d->readMore();
    if (d->ready.isEmpty())
        return false;
    *lines = d->ready.takeFirst();
    ++d->given;
    return true;
}

double TextLineWidth(const QString& line)
{
    double width = 0;
    forEachCharacter(line, [&](char32_t c, int) { width += TextFont::instance().advance(c); });
    return width;
}

double TextLineRoom()
{
    const double pageWidth = kA4.width() / 25.4 * kDpi;
    return pageWidth - 2 * kMargin;
}

QByteArray RenderTextPage(const QStringList& lines)
{
    emfwriter::EmfWriter writer(kA4, kDpi);
    const std::uint32_t font = writer.createFont(-kFontHeight, 400, false, kFace);
    writer.selectObject(font);
    writer.setBkMode(1); // transparent
    writer.setTextColor(emfwriter::rgb(0, 0, 0));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines.at(i).isEmpty())
            writer.textOut(QPoint(kMargin, kMargin + int(i) * kLineHeight), lines.at(i), lineAdvances(lines.at(i)));
    }
    return writer.finish();
}

QList<QStringList> PaginateText(const QString& text, const TextLayout& layout)
{
    QByteArray bytes = text.toUtf8();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TextPager pager(&buffer, layout);
    QList<QStringList> pages;
    QStringList page;
    while (pager.nextPage(&page))
        pages.append(page);
    return pages;
}

} // namespace printjob
