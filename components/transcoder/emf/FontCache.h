#pragma once
// Fonts of the text records, ready to draw: the Qt font, its em in painter units, its
// metrics on the page device and the advances of the characters measured so far.
// Building a font and measuring a character one at a time through Qt's shaping is most of
// what a text page costs, and a document repeats the same few fonts and characters on
// every page, so one cache serves a whole document.
#include "components/transcoder/emf/GdiObjects.h"

#include <QFontMetricsF>
#include <QHash>
#include <QStringView>

#include <memory>

class QPaintDevice;

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

    private:
        QFont m_font;
        double m_em;
        QFontMetricsF m_metrics;
        QHash<char32_t, double> m_advances;
    };

    // The entry for a font description on a device of `dpi`. It stays valid until the next call.
    Entry& entry(const FontSpec& spec, int dpi, const QPaintDevice* device);

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
