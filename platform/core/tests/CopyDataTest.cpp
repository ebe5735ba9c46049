#include "platform/core/CopyData.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QList>
#include <QMutex>
#include <QThread>

#include <atomic>

using namespace platform;

namespace {

// A receiving window living in its own thread, so that a synchronous send from the test
// thread gets its answer.
class ReceiverThread : public QThread {
public:
    void run() override
    {
        CopyDataReceiver receiver;
        receiver.setHandler([this](const CopyDataMessage& message) {
            QMutexLocker lock(&m_mutex);
            m_messages.append(message);
            return qint64(100 + m_messages.size());
        });
        m_ok = receiver.listen();
        m_handle = receiver.handle();
        m_ready = true;
        exec();
    }
    void waitUntilListening()
    {
        while (!m_ready)
            QThread::yieldCurrentThread();
    }
    QList<CopyDataMessage> messages()
    {
        QMutexLocker lock(&m_mutex);
        return m_messages;
    }

    std::atomic<bool> m_ready = false;
    std::atomic<bool> m_ok = false;
    std::atomic<quint32> m_handle = 0;

private:
    QMutex m_mutex;
    QList<CopyDataMessage> m_messages;
};

} // namespace

TEST(CopyData, MessagesArriveInOrderWithSenderWordAndBytes)
{
    ReceiverThread thread;
    thread.start();
    thread.waitUntilListening();
    ASSERT_TRUE(thread.m_ok);
    ASSERT_NE(thread.m_handle, 0u);

    qint64 result = 0;
    ASSERT_TRUE(SendCopyData(thread.m_handle, {0x1234, 4, QByteArray(20, '\x07')}, &result));
    EXPECT_EQ(result, 101);
    ASSERT_TRUE(SendCopyData(thread.m_handle, {0x1234, 5, {}}, &result));
    EXPECT_EQ(result, 102);

    thread.quit();
    thread.wait();
    const QList<CopyDataMessage> got = thread.messages();
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[0].sender, 0x1234u);
    EXPECT_EQ(got[0].dataWord, 4u);
    EXPECT_EQ(got[0].bytes, QByteArray(20, '\x07'));
    EXPECT_EQ(got[1].dataWord, 5u);
    EXPECT_TRUE(got[1].bytes.isEmpty());
}

TEST(CopyData, SendingToNoWindowFails)
{
    EXPECT_FALSE(SendCopyData(0, {1, 0, {}}));
    EXPECT_FALSE(SendCopyData(0x7EADBEEF, {1, 0, {}}, nullptr, 500));
}
