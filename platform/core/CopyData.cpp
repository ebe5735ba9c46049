#include "platform/core/CopyData.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QRandomGenerator>
#include <QtEndian>

namespace platform {
namespace {

constexpr char kMagic[4] = {'K', 'C', 'D', '1'};
constexpr qsizetype kHeaderSize = 4 + 4 + 8 + 4;

QByteArray encode(const CopyDataMessage& message)
{
    QByteArray frame(kHeaderSize, '\0');
    char* out = frame.data();
    std::copy(kMagic, kMagic + 4, out);
    qToLittleEndian<quint32>(message.sender, out + 4);
    qToLittleEndian<quint64>(message.dataWord, out + 8);
    qToLittleEndian<quint32>(static_cast<quint32>(message.bytes.size()), out + 16);
    frame.append(message.bytes);
    return frame;
}

bool waitForBytes(QLocalSocket& socket, qsizetype count, int timeoutMs)
{
    while (socket.bytesAvailable() < count) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return true;
}

} // namespace

QString CopyDataSocketName(quint32 windowHandle)
{
    return QStringLiteral("kvx-window-%1").arg(windowHandle, 8, 16, QLatin1Char('0'));
}

bool SendCopyData(quint32 targetWindow, const CopyDataMessage& message, qint64* result, int timeoutMs)
{
    if (targetWindow == 0 || message.bytes.size() > qsizetype(CopyDataReceiver::kMaxBytes))
        return false;
    QLocalSocket socket;
    socket.connectToServer(CopyDataSocketName(targetWindow));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    const QByteArray frame = encode(message);
    if (socket.write(frame) != frame.size())
        return false;
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(timeoutMs))
            return false;
    }
    if (!waitForBytes(socket, 8, timeoutMs))
        return false;
    const QByteArray reply = socket.read(8);
    if (result)
        *result = qFromLittleEndian<qint64>(reply.constData());
    socket.disconnectFromServer();
    return true;
}

CopyDataReceiver::CopyDataReceiver(QObject* parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CopyDataReceiver::acceptConnections);
}

CopyDataReceiver::~CopyDataReceiver() { m_server->close(); }

bool CopyDataReceiver::listen(quint32 handle)
{
    m_server->close();
    m_handle = 0;
    const bool fresh = handle == 0;
    for (int attempt = 0; attempt < (fresh ? 32 : 1); ++attempt) {
        quint32 candidate = handle;
        while (fresh && candidate == 0)
            candidate = QRandomGenerator::global()->generate();
        const QString name = CopyDataSocketName(candidate);
        if (m_server->listen(name)) {
            m_handle = candidate;
            return true;
        }
        // A socket file left by a receiver that crashed answers nobody; take its place.
        if (m_server->serverError() == QAbstractSocket::AddressInUseError) {
            QLocalSocket probe;
            probe.connectToServer(name);
            if (!probe.waitForConnected(200)) {
                QLocalServer::removeServer(name);
                if (m_server->listen(name)) {
                    m_handle = candidate;
                    return true;
                }
            }
        }
    }
    return false;
}

void CopyDataReceiver::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        m_pending.insert(socket, {});
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
        readFrom(socket);
    }
}

void CopyDataReceiver::readFrom(QLocalSocket* socket)
{
    auto it = m_pending.find(socket);
    if (it == m_pending.end())
        return;
    it->append(socket->readAll());
    QByteArray& buffer = *it;
    if (buffer.size() < kHeaderSize)
        return;
    const quint32 length = qFromLittleEndian<quint32>(buffer.constData() + 16);
    if (!std::equal(kMagic, kMagic + 4, buffer.constData()) || length > kMaxBytes) {
        m_pending.erase(it);
        socket->abort();
        return;
    }
    if (buffer.size() < kHeaderSize + qsizetype(length))
        return;
    CopyDataMessage message;
    message.sender = qFromLittleEndian<quint32>(buffer.constData() + 4);
    message.dataWord = qFromLittleEndian<quint64>(buffer.constData() + 8);
    message.bytes = buffer.mid(kHeaderSize, length);
    buffer.remove(0, kHeaderSize + length);

    const qint64 result = m_handler ? m_handler(message) : 1;
    char reply[8];
    qToLittleEndian<qint64>(result, reply);
    socket->write(reply, sizeof reply);
    socket->flush();
}

} // namespace platform
