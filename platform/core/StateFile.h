#pragma once
// A JSON document on disk that several processes read and change: the registry hives,
// the spooler and the service states. Changes are made under a lock file and committed
// through a temporary file and a rename, so a crash never leaves a half-written state.
#include <QJsonObject>
#include <QString>

#include <functional>

namespace platform {

class StateFile {
public:
    explicit StateFile(QString path);

    const QString& path() const { return m_path; }

    // A missing file reads as an empty document. False (last error ErrorBadDatabase) when
    // the file exists but cannot be read or is not a JSON object; such a file is never
    // overwritten, so nothing in it is lost.
    bool read(QJsonObject* document) const;

    // Reads, lets `change` edit the document, and writes it back when `change` returns
    // true. Returns false when the state cannot be read or written (last error set) or
    // `change` refused (its own last error kept).
    bool update(const std::function<bool(QJsonObject&)>& change);

private:
    bool write(const QJsonObject& document);

    QString m_path;
};

} // namespace platform
