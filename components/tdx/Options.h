#pragma once
// Option strings of open and save: "key:value;" pairs. Keys compare without case; a last
// pair may lack its ";".
#include <QMap>
#include <QString>

namespace tdx {

class Options {
public:
    explicit Options(const QString& text);

    bool has(const QString& key) const { return m_values.contains(key.toLower()); }
    QString value(const QString& key, const QString& fallback = QString()) const;
    // "true"/"1"/"yes" are true, "false"/"0"/"no" false, anything else the fallback.
    bool flag(const QString& key, bool fallback) const;

private:
    QMap<QString, QString> m_values;
};

} // namespace tdx
