#pragma once
// One GET request, made by HttpConnection::openRequest. send() performs the exchange;
// the status and the kept part of the body are then available until close().
#include "platform/core/InternetError.h"
#include "platform/core/InternetSession.h"

#include <QByteArray>
#include <QString>

namespace platform {

class HttpRequest {
public:
    ~HttpRequest();
    HttpRequest(const HttpRequest&) = delete;
    HttpRequest& operator=(const HttpRequest&) = delete;

    // Sends the request with the additional header lines (separated by "\n", a "\r"
    // before it is allowed) and receives the answer. False on any failure to reach the
    // server or to read its answer; error() says what happened. Call once.
    bool send(const QString& additionalHeaders = {});

    // The answer's status code. False before a successful send.
    bool queryStatusCode(quint32& statusCode) const;

    // Copies the next part of the body, at most room bytes. Returns the number of bytes
    // copied; 0 once the body is used up.
    qint64 read(char* buffer, qint64 room);

    // Frees the request. Also done by the destructor.
    void close();

    const InternetError& error() const { return m_error; }

private:
    friend class HttpConnection;
    HttpRequest(const QString& server, const QString& address, const QString& userAgent, const InternetLimits& limits);
    bool isOpen() const { return m_handle != nullptr; }

    static size_t takeBody(char* data, size_t size, size_t count, void* request);

    void* m_handle = nullptr; // the library's handle for this request
    QString m_server;
    QByteArray m_address;
    QByteArray m_userAgent;
    InternetLimits m_limits;
    InternetError m_error;
    bool m_sent = false;
    bool m_bodyCut = false;
    QByteArray m_body;
    qsizetype m_readPosition = 0;
};

} // namespace platform
