#pragma once
// A connection to one HTTP server, made by InternetSession::openHttpConnection.
// It keeps what its requests need, so it may outlive the session that made it.
#include "platform/core/InternetSession.h"

#include <QString>

#include <memory>

namespace platform {

class HttpRequest;

class HttpConnection {
public:
    // A GET request for the object path ("/" followed by path and query). Null when the
    // path is not one or the client cannot make a request handle.
    std::unique_ptr<HttpRequest> openRequest(const QString& objectPath) const;

    const QString& server() const { return m_server; }
    quint16 port() const { return m_port; }

private:
    friend class InternetSession;
    HttpConnection(const InternetSession& session, const QString& server, quint16 port);

    QString m_userAgent;
    InternetLimits m_limits;
    QString m_server;
    quint16 m_port;
};

} // namespace platform
