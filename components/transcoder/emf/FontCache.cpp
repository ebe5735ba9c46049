#include "components/transcoder/emf/FontCache.h"

#include <QHashFunctions>

namespace emfplay {
namespace {

// Hostile metafiles may make a new font for every record; past these the cache starts over,
// so it never holds more than a page's worth of real use many times over.
constexpr qsizetype kMaxFonts = 256;
constexpr qsizetype kMaxAdvances = 1 << 16;

} // namespace

FontCache::Entry::Entry(const QFont& font, double em, const QPaintDevice* device)
    : m_font(font), m_em(em), m_metrics(font, device)
{
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

FontCache::Entry& FontCache::entry(const FontSpec& spec, int dpi, const QPaintDevice* device)
{
    const Key key{spec.height, spec.weight, spec.italic, spec.underline, spec.strikeOut, spec.face, dpi, device};
    const auto found = m_entries.constFind(key);
    if (found != m_entries.constEnd())
        return **found;
    if (m_entries.size() >= kMaxFonts)
        m_entries.clear();
    double em = 0;
    const QFont font = toQFont(spec, dpi, em);
    auto made = std::make_shared<Entry>(font, em, device);
    Entry& result = *made;
    m_entries.insert(key, std::move(made));
    return result;
}

} // namespace emfplay
