#include "online/UpdateServer.h"

#include "online/EditorProfile.h"
#include "platform/core/HttpAddress.h"

QString UpdateServerAddress(const QString& objectPath)
{
    const auto profile = OpenEditorProfile();
    const QString host = profile->value(kUpdateServerHostKey, QString::fromLatin1(kDefaultUpdateServerHost)).toString().trimmed();
    bool isNumber = false;
    const int port = profile->value(kUpdateServerPortKey, 80).toInt(&isNumber);
    if (host.isEmpty() || !isNumber || port < 1 || port > 65535)
        return {};
    return platform::makeHttpAddress(host, static_cast<quint16>(port), objectPath);
}
