#pragma once
// WM_COPYDATA between processes. A window that accepts copy data listens on a local socket
// named after its handle value ("kvx-window-" + eight hex digits, in the temporary folder);
// a sender connects, writes one message and waits for the receiver's result, so a send is
// synchronous like SendMessage.
//
// Wire format, little-endian: "KCD1", sender handle (u32), data word (u64), length (u32),
// then the bytes; the reply is the receiver's result (i64).
#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;

namespace platform {

struct CopyDataMessage {
    quint32 sender = 0;   // the sending window's handle
    quint64 dataWord = 0; // COPYDATASTRUCT.dwData
    QByteArray bytes;     // COPYDATASTRUCT.lpData, cbData bytes
};

QString CopyDataSocketName(quint32 windowHandle);

// Sends one message to the window and waits up to timeoutMs for its result. False when no
// such window listens, or it does not answer in time (result untouched then).
bool SendCopyData(quint32 targetWindow, const CopyDataMessage& message, qint64* result = nullptr,
                  int timeoutMs = 10000);

// The receiving side: a window handle that accepts copy data. Messages are handled in the
// receiver's thread from its event loop, in the order they arrive.
class CopyDataReceiver : public QObject {
    Q_OBJECT
public:
    // Largest message accepted; bigger ones are refused and their connection dropped.
    static constexpr quint32 kMaxBytes = 16u * 1024u * 1024u;

    explicit CopyDataReceiver(QObject* parent = nullptr);
    ~CopyDataReceiver() override;

    // Listens under the given handle, or under a fresh nonzero one when handle is 0.
    bool listen(quint32 handle = 0);
    quint32 handle() const { return m_handle; }

    // Computes the result sent back for each message (default: 1).
    void setHandler(std::function<qint64(const CopyDataMessage&)> handler) { m_handler = std::move(handler); }

private:
    void acceptConnections();
    void readFrom(QLocalSocket* socket);

    QLocalServer* m_server = nullptr;
    quint32 m_handle = 0;
    std::function<qint64(const CopyDataMessage&)> m_handler;
    QHash<QLocalSocket*, QByteArray> m_pending;
};

} // namespace platform
