#include "platform/core/HttpAddress.h"

#include <QUrl>

namespace platform {

bool parseHttpAddress(const QString& address, HttpAddress& result)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) != 0)
        return false;
    if (url.host().isEmpty() || !url.userInfo().isEmpty())
        return false;
    const int port = url.port(80);
    if (port < 1 || port > 65535)
        return false;

    QString objectPath = url.path(QUrl::FullyEncoded);
    if (objectPath.isEmpty())
        objectPath = QStringLiteral("/");
    if (url.hasQuery())
        objectPath += QLatin1Char('?') + url.query(QUrl::FullyEncoded);

    result.server = url.host();
    result.port = static_cast<quint16>(port);
    result.objectPath = objectPath;
    return true;
}

QString makeHttpAddress(const QString& server, quint16 port, const QString& objectPath)
{
    // An IPv6 literal needs its brackets in an address.
    const QString host = server.contains(QLatin1Char(':')) ? QLatin1Char('[') + server + QLatin1Char(']') : server;
    QString address = QStringLiteral("http://") + host;
    if (port != 80)
        address += QLatin1Char(':') + QString::number(port);
    return address + objectPath;
}

} // namespace platform
