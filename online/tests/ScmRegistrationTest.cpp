#include "OnlineTestSupport.h"
#include "online/ScmRegistration.h"

#include <QWidget>

namespace {

using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;

const QByteArray kReadyPath = kScmReadyTextPath;
const QString kQuestion = QStringLiteral("SCM서버에 접속하시겠습니까?\n - 접속후 판매할 컨텐츠를 등록 해주십시요.");
const QString kNotReady = QStringLiteral("서비스 준비중 입니다.");

class ScmRegistrationTest : public OnlineTest {
protected:
    QWidget mainFrame;
};

TEST_F(ScmRegistrationTest, ReadinessDecidesWhatIsAskedAndReturned)
{
    struct Case {
        const char* name;
        LoopbackHttpServer::Reply reply;
        QList<MessageResult> answers;
        QString expected;
        QStringList asked; // texts of the boxes shown, in order
    };
    const Case cases[] = {
        {"ready alone", {200, "OK", WithBom("SCM_READY_OK"), {}}, {}, {}, {kNotReady}},
        {"ready, Yes", {200, "OK", WithBom("SCM_READY_OK&http://scm.example/register"), {}}, {MessageResult::Yes},
         "http://scm.example/register", {kQuestion}},
        {"ready, No", {200, "OK", WithBom("SCM_READY_OK&http://scm.example/register"), {}}, {MessageResult::No}, {},
         {kQuestion}},
        {"ready with more fields, Yes", {200, "OK", WithBom(" SCM_READY_OK&&http://scm.example/등록&x\r\n"), {}},
         {MessageResult::Yes}, "http://scm.example/등록", {kQuestion}},
        {"not ready", {200, "OK", WithBom("SCM_READY_NO&http://scm.example/register"), {}}, {}, {}, {kNotReady}},
        {"ready word must match exactly", {200, "OK", WithBom("scm_ready_ok&http://scm.example/register"), {}}, {}, {},
         {kNotReady}},
        {"no byte-order mark", {200, "OK", "SCM_READY_OK&http://scm.example/register", {}}, {}, {}, {kNotReady}},
        {"status 404", {404, "Not Found", WithBom("SCM_READY_OK&http://scm.example/register"), {}}, {}, {}, {kNotReady}},
        {"status 302", {302, "Found", {}, "Location: /elsewhere\r\n"}, {}, {}, {kNotReady}},
    };
    for (const Case& c : cases) {
        server.setReply(kReadyPath, c.reply);
        boxes.clear();
        for (MessageResult answer : c.answers)
            boxes.enqueue(answer);
        EXPECT_EQ(QueryScmRegistrationUrl(&mainFrame), c.expected) << c.name;
        QStringList asked;
        for (const platform::MessageRequest& request : boxes.asked())
            asked << request.text;
        EXPECT_EQ(asked, c.asked) << c.name;
    }
}

TEST_F(ScmRegistrationTest, QuestionAndNotReadyMessageLookAsTheUserKnowsThem)
{
    server.setBody(kReadyPath, WithBom("SCM_READY_OK&http://scm.example/register"));
    boxes.enqueue(MessageResult::No);
    QueryScmRegistrationUrl(&mainFrame);
    server.setBody(kReadyPath, WithBom("SCM_READY_OK"));
    QueryScmRegistrationUrl(&mainFrame);

    ASSERT_EQ(boxes.asked().size(), 2);
    const platform::MessageRequest& question = boxes.asked()[0];
    EXPECT_EQ(question.caption, "Tolvo maker 편집툴");
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.icon, MessageIcon::Information);
    const platform::MessageRequest& notReady = boxes.asked()[1];
    EXPECT_EQ(notReady.caption, "Tolvo maker 편집툴");
    EXPECT_EQ(notReady.buttons, MessageButtons::Ok);
    EXPECT_EQ(notReady.owner, &mainFrame);
}

// Whatever stops the request before an answer, the service counts as not ready.
TEST_F(ScmRegistrationTest, FailuresBeforeAnAnswerSayNotReady)
{
    quint16 closedPort = 0;
    {
        LoopbackHttpServer gone;
        closedPort = gone.port();
    }
    const std::pair<QVariant, QVariant> settings[] = {
        {QString(), 80},                          // no usable server setting: no connection
        {QStringLiteral("127.0.0.1"), closedPort}, // nobody listening: sending fails
        {QStringLiteral("update.lindar.invalid"), 80}, // the name never resolves: sending fails
    };
    for (const auto& [host, port] : settings) {
        SetUpdateServer(host, port);
        boxes.clear();
        EXPECT_TRUE(QueryScmRegistrationUrl(&mainFrame).isEmpty()) << host.toString().toStdString();
        ASSERT_EQ(boxes.asked().size(), 1) << host.toString().toStdString();
        EXPECT_EQ(boxes.asked()[0].text, kNotReady);
        EXPECT_EQ(boxes.asked()[0].owner, &mainFrame);
    }
}

TEST_F(ScmRegistrationTest, CommandOpensTheAddressOnlyAfterYes)
{
    server.setBody(kReadyPath, WithBom("SCM_READY_OK&http://scm.example/register"));
    boxes.enqueue(MessageResult::No);
    OnScmRegistration(&mainFrame);
    EXPECT_TRUE(shell.requests().isEmpty());

    boxes.enqueue(MessageResult::Yes);
    OnScmRegistration(&mainFrame);
    ASSERT_EQ(shell.requests().size(), 1);
    EXPECT_EQ(shell.requests()[0].kind, platform::ShellRequest::Kind::Open);
    EXPECT_EQ(shell.requests()[0].target, "http://scm.example/register");

    server.setBody(kReadyPath, WithBom("SCM_READY_OK"));
    OnScmRegistration(&mainFrame);
    EXPECT_EQ(shell.requests().size(), 1);
}

} // namespace
