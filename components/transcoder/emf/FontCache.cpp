#include "components/transcoder/emf/FontCache.h"

#include <QHashFunctions>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace emfplay {
namespace {

// Hostile metafiles may make a new font for every record; past these the cache starts over,
// so it never holds more than a page's worth of real use many times over.
constexpr qsizetype kMaxFonts = 256;
constexpr qsizetype kMaxAdvances = 1 << 16;
constexpr qsizetype kMaxWords = 1 << 14;
constexpr qsizetype kMaxWordLength = 64;

// Words that shape the same in a text layout as in QPainter::drawText: no tabs or other
// controls, which the two treat differently, and nothing right-to-left, whose order drawText
// decides by itself.
bool shapesAlike(const QString& word)
{
    return word.size() <= kMaxWordLength && std::all_of(word.begin(), word.end(), [](QChar c) {
        const QChar::Direction direction = c.direction();
        return c.isPrint() && direction != QChar::DirR && direction != QChar::DirAL && direction != QChar::DirAN;
    });
}

} // namespace

FontCache::Entry::Entry(const QFont& font, double em, const QPaintDevice* device)
    : m_font(font), m_runFont(font), m_device(device), m_em(em), m_metrics(font, device)
{
    m_runFont.setUnderline(false);
    m_runFont.setStrikeOut(false);
}

void FontCache::Entry::drawWord(QPainter& painter, const QPointF& origin, const QString& word)
{
    if (!shapesAlike(word)) {
        painter.drawText(origin, word);
        return;
    }
    for (const QGlyphRun& run : shaped(word).runs)
        painter.drawGlyphRun(origin, run);
}

const FontCache::Entry::ShapedWord& FontCache::Entry::shaped(const QString& word)
{
    const auto found = m_words.constFind(word);
    if (found != m_words.constEnd())
        return *found;
    if (m_words.size() >= kMaxWords)
        m_words.clear();
    QTextLayout layout(word, m_runFont, const_cast<QPaintDevice*>(m_device));
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    ShapedWord shaped;
    if (line.isValid()) {
        const QPointF toBaseline(0, -line.ascent());
        shaped.runs = line.glyphRuns();
        for (QGlyphRun& run : shaped.runs) {
            QList<QPointF> positions = run.positions();
            for (QPointF& position : positions)
                position += toBaseline;
            run.setPositions(positions);
        }
    }
    return *m_words.insert(word, std::move(shaped));
}

double FontCache::Entry::advance(QStringView character)
{
    const char32_t code = character.size() == 2 ? QChar::surrogateToUcs4(character[0], character[1])
                                                : char32_t(character[0].unicode());
    const auto found = m_advances.constFind(code);
    if (found != m_advances.constEnd())
        return *found;
    if (m_advances.size() >= kMaxAdvances)
        m_advances.clear();
    const double width = m_metrics.horizontalAdvance(character.toString());
    m_advances.insert(code, width);
    return width;
}

bool FontCache::Key::operator==(const Key& other) const
{
    return height == other.height && weight == other.weight && italic == other.italic
        && underline == other.underline && strikeOut == other.strikeOut && face == other.face && dpi == other.dpi
        && device == other.device;
}

size_t qHash(const FontCache::Key& key, size_t seed)
{
    return qHashMulti(seed, key.height, key.weight, key.italic, key.underline, key.strikeOut, key.face, key.dpi,
                      quintptr(key.device));
}

FontCache::Entry& FontCache::entry(const FontSpec& wanted, int dpi, const QPaintDevice* device)
{
    const Key key{wanted.height, wanted.weight, wanted.italic, wanted.underline, wanted.strikeOut, wanted.face, dpi, device};
    const auto found = m_entries.constFind(key);
    if (found != m_entries.constEnd())
        return **found;
    if (m_entries.size() >= kMaxFonts)
        m_entries.clear();
    double em = 0;
    const QFont font = toQFont(wanted, dpi, em);
    auto made = std::make_shared<Entry>(font, em, device);
    Entry& result = *made;
    m_entries.insert(key, std::move(made));
    return result;
}

} // namespace emfplay
