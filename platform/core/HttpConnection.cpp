#include "platform/core/HttpConnection.h"

#include "platform/core/HttpAddress.h"
#include "platform/core/HttpRequest.h"

namespace platform {

HttpConnection::HttpConnection(const InternetSession& session, const QString& server, quint16 port)
    : m_userAgent(session.userAgent())
    , m_limits(session.limits())
    , m_server(server)
    , m_port(port)
{
}

std::unique_ptr<HttpRequest> HttpConnection::openRequest(const QString& objectPath) const
{
    if (!objectPath.startsWith(QLatin1Char('/')))
        return nullptr;
    auto request = std::unique_ptr<HttpRequest>(
        new HttpRequest(m_server, makeHttpAddress(m_server, m_port, objectPath), m_userAgent, m_limits));
    if (!request->isOpen())
        return nullptr;
    return request;
}

} // namespace platform
