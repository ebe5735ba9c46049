#pragma once
// A small HTTP server on 127.0.0.1 for tests. It runs in a thread of its own, so code under
// test may block its own thread in a synchronous request. Each connection gets one answer
// and is closed (unless the reply is kSilent); paths without a set answer get 404.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QThread>

class QTcpServer;

class LoopbackHttpServer {
public:
    struct Reply {
        int status = 200;
        QByteArray reason = "OK";
        QByteArray body;
        QByteArray extraHeaders; // whole lines, each ending in "\r\n"
    };
    // A reply with this status is never sent: the server reads the request and stays silent.
    static constexpr int kSilent = 0;

    LoopbackHttpServer();
    ~LoopbackHttpServer();

    quint16 port() const { return m_port; }
    void setReply(const QByteArray& path, const Reply& reply);
    void setBody(const QByteArray& path, const QByteArray& body) { setReply(path, Reply{200, "OK", body, {}}); }

    // The head (request line and header lines) of every request received so far.
    QList<QByteArray> requests() const;

private:
    void answer(class QTcpSocket* socket);

    QThread m_thread;
    QTcpServer* m_server = nullptr; // lives in m_thread
    quint16 m_port = 0;
    mutable QMutex m_mutex;
    QHash<QByteArray, Reply> m_replies;
    QList<QByteArray> m_requests;
};
