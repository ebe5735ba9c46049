#include "platform/core/StateFile.h"

#include "platform/core/LastError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QLockFile>
#include <QSaveFile>

namespace platform {

namespace {

// Long enough for any state change; a holder that died is detected by QLockFile itself.
constexpr int kLockTimeoutMs = 10000;

} // namespace

StateFile::StateFile(QString path) : m_path(std::move(path)) {}

bool StateFile::read(QJsonObject* document) const
{
    QFile file(m_path);
    if (!file.exists()) {
        *document = QJsonObject();
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        SetLastError(ErrorBadDatabase);
        return false;
    }
    QJsonParseError error;
    const QJsonDocument parsed = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !parsed.isObject()) {
        SetLastError(ErrorBadDatabase);
        return false;
    }
    *document = parsed.object();
    return true;
}

bool StateFile::update(const std::function<bool(QJsonObject&)>& change)
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockTimeoutMs)) {
        SetLastError(ErrorSharingViolation);
        return false;
    }
    QJsonObject document;
    if (!read(&document))
        return false;
    if (!change(document))
        return false;
    return write(document);
}

bool StateFile::write(const QJsonObject& document)
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        SetLastError(ErrorAccessDenied);
        return false;
    }
    const QByteArray bytes = QJsonDocument(document).toJson(QJsonDocument::Indented);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        SetLastError(ErrorWriteFault);
        return false;
    }
    return true;
}

} // namespace platform
