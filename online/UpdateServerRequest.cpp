#include "online/UpdateServerRequest.h"

#include "online/UpdateServer.h"
#include "platform/core/HttpAddress.h"
#include "platform/core/HttpConnection.h"
#include "platform/core/HttpRequest.h"
#include "platform/core/InternetSession.h"

#include <QStringList>

namespace {

const QString kUserAgent = QStringLiteral("vendara tolvo");
const QString kNoCacheHeader = QStringLiteral("Pragma: no-cache\n");

// A dead or slow server must not hold the editor's start-up for long.
constexpr platform::InternetLimits kLimits{5000, 15000, kServerTextBufferSize};

} // namespace

UpdateServerAnswer RequestFromUpdateServer(const QString& objectPath)
{
    using Outcome = UpdateServerAnswer::Outcome;
    UpdateServerAnswer answer;

    platform::InternetSession session(kUserAgent, kLimits);
    if (!session.isOpen())
        return answer;
    platform::HttpAddress address;
    if (!platform::parseHttpAddress(UpdateServerAddress(objectPath), address)) {
        answer.outcome = Outcome::NoConnection;
        return answer;
    }
    const auto connection = session.openHttpConnection(address.server, address.port);
    if (!connection) {
        answer.outcome = Outcome::NoConnection;
        return answer;
    }
    const auto request = connection->openRequest(address.objectPath);
    if (!request) {
        answer.outcome = Outcome::NoRequest;
        return answer;
    }
    if (!request->send(kNoCacheHeader) || !request->queryStatusCode(answer.statusCode)) {
        answer.outcome = Outcome::NotSent;
        return answer;
    }
    answer.outcome = Outcome::Answered;
    if (answer.statusCode != 200)
        return answer;

    char buffer[kServerTextBufferSize];
    qint64 used = 0;
    for (qint64 count; (count = request->read(buffer + used, kServerTextBufferSize - used)) > 0;)
        used += count;
    answer.body = QByteArray(buffer, used);
    return answer;
}

QString DecodeServerText(const QByteArray& body, ServerTextEncoding encoding)
{
    QByteArray bytes = body.mid(3);
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    QString text = encoding == ServerTextEncoding::Utf8 ? QString::fromUtf8(bytes) : QString::fromLocal8Bit(bytes);
    text.truncate(kServerTextBufferSize);
    return text.trimmed();
}

QStringList SplitServerFields(const QString& text)
{
    return text.split(QLatin1Char('&'), Qt::SkipEmptyParts);
}
