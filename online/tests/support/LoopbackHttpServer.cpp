#include "online/tests/support/LoopbackHttpServer.h"

#include <QHostAddress>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>

LoopbackHttpServer::LoopbackHttpServer()
{
    m_server = new QTcpServer;
    m_server->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_server, &QObject::deleteLater);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_server,
        [this] {
            QObject::connect(m_server, &QTcpServer::newConnection, m_server, [this] {
                while (QTcpSocket* socket = m_server->nextPendingConnection()) {
                    QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
                    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                }
            });
            if (m_server->listen(QHostAddress::LocalHost))
                m_port = m_server->serverPort();
        },
        Qt::BlockingQueuedConnection);
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    m_thread.quit();
    m_thread.wait();
}

void LoopbackHttpServer::setReply(const QByteArray& path, const Reply& reply)
{
    QMutexLocker lock(&m_mutex);
    m_replies.insert(path, reply);
}

QList<QByteArray> LoopbackHttpServer::requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

void LoopbackHttpServer::answer(QTcpSocket* socket)
{
    // Wait for the whole head; the requests under test have no body.
    const QByteArray pending = socket->peek(socket->bytesAvailable());
    const qsizetype headEnd = pending.indexOf("\r\n\r\n");
    if (headEnd < 0 || socket->property("answered").toBool())
        return;
    socket->setProperty("answered", true);
    const QByteArray head = socket->read(headEnd + 4);
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    const QByteArray path = requestLine.value(1);

    Reply reply{404, "Not Found", "missing", {}};
    {
        QMutexLocker lock(&m_mutex);
        m_requests.append(head);
        reply = m_replies.value(path, reply);
    }
    if (reply.status == kSilent)
        return;
    QByteArray response = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reply.reason + "\r\n";
    response += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    response += "Connection: close\r\n" + reply.extraHeaders + "\r\n" + reply.body;
    socket->write(response);
    socket->disconnectFromHost();
}
