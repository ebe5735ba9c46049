#include "components/tdx/Options.h"

#include <QStringList>

namespace tdx {

Options::Options(const QString& text)
{
    for (const QString& pair : text.split(';', Qt::SkipEmptyParts)) {
        const qsizetype colon = pair.indexOf(':');
        const QString key = (colon < 0 ? pair : pair.left(colon)).trimmed().toLower();
        if (!key.isEmpty())
            m_values.insert(key, colon < 0 ? QString() : pair.mid(colon + 1).trimmed());
    }
}

QString Options::value(const QString& key, const QString& fallback) const
{
    return m_values.value(key.toLower(), fallback);
}

bool Options::flag(const QString& key, bool fallback) const
{
    const QString v = value(key).toLower();
    if (v == "true" || v == "1" || v == "yes")
        return true;
    if (v == "false" || v == "0" || v == "no")
        return false;
    return fallback;
}

} // namespace tdx
