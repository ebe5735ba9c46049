#include "OnlineTestSupport.h"
#include "platform/core/HttpConnection.h"
#include "platform/core/HttpRequest.h"
#include "platform/core/InternetSession.h"

namespace {

class InternetClientTest : public OnlineTest {
};

TEST_F(InternetClientTest, SilentServerEndsInATimeoutError)
{
    server.setReply("/slow", {LoopbackHttpServer::kSilent, {}, {}, {}});
    platform::InternetSession session(QStringLiteral("test"), {200, 300, 2048});
    const auto connection = session.openHttpConnection(QStringLiteral("127.0.0.1"), server.port());
    ASSERT_TRUE(connection);
    const auto request = connection->openRequest(QStringLiteral("/slow"));
    ASSERT_TRUE(request);
    EXPECT_FALSE(request->send());
    EXPECT_TRUE(request->error().isSet());
    EXPECT_TRUE(request->error().message.contains(QStringLiteral("timed out"), Qt::CaseInsensitive))
        << request->error().message.toStdString();
    quint32 status = 0;
    EXPECT_FALSE(request->queryStatusCode(status));
}

TEST_F(InternetClientTest, ReadLoopHandsOutTheKeptBodyInPieces)
{
    server.setBody("/body", QByteArray("0123456789"));
    platform::InternetSession session(QStringLiteral("test"), {2000, 5000, 8});
    const auto request = session.openHttpConnection(QStringLiteral("127.0.0.1"), server.port())->openRequest(QStringLiteral("/body"));
    ASSERT_TRUE(request && request->send());
    quint32 status = 0;
    ASSERT_TRUE(request->queryStatusCode(status));
    EXPECT_EQ(status, 200u);

    char buffer[16] = {};
    EXPECT_EQ(request->read(buffer, 3), 3);
    EXPECT_EQ(request->read(buffer + 3, 13), 5); // the limit kept 8 bytes
    EXPECT_EQ(request->read(buffer + 8, 8), 0);
    EXPECT_EQ(QByteArray(buffer, 8), "01234567");
    EXPECT_FALSE(request->send()); // a request is sent once
}

} // namespace
