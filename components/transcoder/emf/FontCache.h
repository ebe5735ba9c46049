#pragma once
// Fonts of the text records, ready to draw: the Qt font, its em in painter units, its
// metrics on the page device and the advances of the characters measured so far.
// Building a font and measuring a character one at a time through Qt's shaping is most of
// what a text page costs, and a document repeats the same few fonts and characters on
// every page, so one cache serves a whole document.
#include "components/transcoder/emf/GdiObjects.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QStringView>

#include <memory>

class QPaintDevice;
class QPainter;

namespace emfplay {

class FontCache {
public:
    class Entry {
    public:
        Entry(const QFont& font, double em, const QPaintDevice* device);

        const QFont& font() const { return m_font; }
        double em() const { return m_em; }
        const QFontMetricsF& metrics() const { return m_metrics; }
        // The advance of one character (a surrogate pair counts as one), as
        // QFontMetricsF::horizontalAdvance gives it.
        double advance(QStringView character);

        // Draws a word with its baseline starting at `origin`, as QPainter::drawText with this
        // font (underline and strike-out off) does, from the glyphs shaped the first time the
        // word came: text pages repeat their words.
        void drawWord(QPainter& painter, const QPointF& origin, const QString& word);

    private:
        struct ShapedWord {
            QList<QGlyphRun> runs; // positions relative to the baseline's start
        };
        const ShapedWord& shaped(const QString& word);

        QFont m_font;
        QFont m_runFont;
        const QPaintDevice* m_device;
        double m_em;
        QFontMetricsF m_metrics;
        QHash<char32_t, double> m_advances;
        QHash<QString, ShapedWord> m_words;
    };

    // The entry for a font description on a device of `dpi`. It stays valid until the next call.
    Entry& entry(const FontSpec& wanted, int dpi, const QPaintDevice* device);

private:
    struct Key {
        double height;
        std::int32_t weight;
        bool italic, underline, strikeOut;
        QString face;
        int dpi;
        const QPaintDevice* device;
        bool operator==(const Key& other) const;
    };
    friend size_t qHash(const Key& key, size_t seed);

    QHash<Key, std::shared_ptr<Entry>> m_entries;
};

} // namespace emfplay
