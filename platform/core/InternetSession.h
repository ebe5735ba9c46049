#pragma once
// The internet client, in the steps callers take with it: a session (the client handle),
// a connection to one server, a request on that connection, then send, status, a read
// loop and close. Every step that fails leaves an InternetError with the object that failed.
//
//     InternetSession session("agent");
//     auto connection = session.openHttpConnection("server", 80);
//     auto request = connection->openRequest("/path");
//     request->send("Pragma: no-cache\n");
//     request->queryStatusCode(status);
//     while ((n = request->read(buffer + used, room - used)) > 0) used += n;
//
// Requests are plain HTTP GET, never answered from or written to a cache, and redirects are
// not followed (a redirect is an answer of its own). Waits are bounded, so a dead server
// cannot hold the caller for long.
#include "platform/core/InternetError.h"

#include <QString>

#include <memory>

namespace platform {

class HttpConnection;

struct InternetLimits {
    int connectTimeoutMs = 5000; // name lookup and connect
    int totalTimeoutMs = 15000;  // the whole exchange
    qsizetype maxBodyBytes = 2048; // the part of a body that is kept; the rest is not fetched
};

class InternetSession {
public:
    explicit InternetSession(const QString& userAgent, const InternetLimits& limits = {});

    // False when the client library could not be started; error() says why.
    bool isOpen() const { return !m_error.isSet(); }
    const InternetError& error() const { return m_error; }

    // Null when no connection can be set up for the server and port (empty name, port 0)
    // or the session is not open. The connection does not contact the server yet: that
    // happens when a request is sent.
    std::unique_ptr<HttpConnection> openHttpConnection(const QString& server, quint16 port) const;

    const QString& userAgent() const { return m_userAgent; }
    const InternetLimits& limits() const { return m_limits; }

private:
    QString m_userAgent;
    InternetLimits m_limits;
    InternetError m_error;
};

} // namespace platform
