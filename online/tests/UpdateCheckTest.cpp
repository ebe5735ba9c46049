#include "OnlineTestSupport.h"
#include "online/UpdateCheck.h"
#include "online/UpdateDlg.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace {

const QByteArray kVersionPath = kVersionTextPath;

class UpdateCheckTest : public OnlineTest {
protected:
    UpdateCheckResult Check(quint32& status)
    {
        fields.clear();
        CUpdateDlg dlg;
        const UpdateCheckResult result = CheckForUpdate(status, dlg);
        fields = dlg.Fields();
        return result;
    }
    QStringList fields;
};

TEST_F(UpdateCheckTest, NewerVersionFillsTheDialog)
{
    server.setBody(kVersionPath, WithBom("1.0.0.0&http://dl.example/QuorraSetup.exe&2009-01-15&Faster saving.\r\n"));
    CUpdateDlg dlg;
    quint32 status = 0;
    ASSERT_EQ(CheckForUpdate(status, dlg), UPDATE_AVAILABLE);
    EXPECT_EQ(status, 200u);
    EXPECT_EQ(dlg.Fields(), QStringList({"1.0.0.0", "http://dl.example/QuorraSetup.exe", "2009-01-15", "Faster saving.",
                                         "0.9.3.0"}));

    dlg.show();
    EXPECT_EQ(dlg.CurrentVersion(), "0.9.3.0");
    EXPECT_EQ(dlg.NewVersion(), "1.0.0.0");
    EXPECT_EQ(dlg.DownloadUrl(), "http://dl.example/QuorraSetup.exe");
    EXPECT_EQ(dlg.Message(),
              QStringLiteral("새로운 버전이 업데이트 되었습니다.\r\n  새 버 전 : \r\n   - 일자 : [2009-01-15]\r\n"
                             "   - 버전 : [1.0.0.0]\r\n  현재버전 : \r\n   - 버전 : [0.9.3.0]\r\n"
                             "업데이트를 하시려면 [다운로드]버튼을 클릭하시어 최신버전의 설치파일을 다운하시여 "
                             "설치해주시기 바랍니다.\r\n\r\n[업데이트정보]\r\nFaster saving."));
    // What the controls show.
    EXPECT_EQ(dlg.findChild<QLabel*>("currentVersion")->text(), "0.9.3.0");
    EXPECT_EQ(dlg.findChild<QLabel*>("newVersion")->text(), "1.0.0.0");
    EXPECT_EQ(dlg.findChild<QLabel*>("downloadLink")->text(), "http://dl.example/QuorraSetup.exe");
    EXPECT_TRUE(dlg.findChild<QPlainTextEdit*>("message")->toPlainText().contains("   - 일자 : [2009-01-15]\n"));
}

TEST_F(UpdateCheckTest, DecodesAndComparesTheVersionText)
{
    struct Case {
        const char* name;
        QByteArray body;
        UpdateCheckResult result;
        QStringList fields;
    };
    const Case cases[] = {
        {"same version", WithBom("0.9.3.0&u&d&n"), UPDATE_CURRENT, {"0.9.3.0", "u", "d", "n"}},
        {"numerically newer, textually older", WithBom("0.9.10.0&u&d&n"), UPDATE_CURRENT, {"0.9.10.0", "u", "d", "n"}},
        {"next build", WithBom("0.9.3.1&u&d&n"), UPDATE_AVAILABLE, {"0.9.3.1", "u", "d", "n", "0.9.3.0"}},
        // The first three bytes go whatever they are: "1.0.0.0" is compared as ".0.0".
        {"no byte-order mark", "1.0.0.0&u&d&n", UPDATE_CURRENT, {".0.0", "u", "d", "n"}},
        {"empty piece skipped", WithBom("a&&b&c&d"), UPDATE_AVAILABLE, {"a", "b", "c", "d", "0.9.3.0"}},
        {"five fields", WithBom("a&b&c&d&e"), UPDATE_BAD_ANSWER, {"a", "b", "c", "d", "e"}},
        {"three fields", WithBom("1.0&u&d"), UPDATE_BAD_ANSWER, {"1.0", "u", "d"}},
        {"empty body", "", UPDATE_BAD_ANSWER, {}},
        {"only the mark", WithBom(""), UPDATE_BAD_ANSWER, {}},
        {"white space around, kept inside", WithBom(" \r\n1.0&u r l&d&n n \n\t"), UPDATE_AVAILABLE,
         {"1.0", "u r l", "d", "n n", "0.9.3.0"}},
        {"text ends at a NUL", WithBom(QByteArray("1.0&u&d&n\0&more", 15)), UPDATE_AVAILABLE, {"1.0", "u", "d", "n", "0.9.3.0"}},
        {"UTF-8 notes", WithBom("1.0&u&2009년&저장이 빨라졌습니다"), UPDATE_AVAILABLE,
         {"1.0", "u", "2009년", "저장이 빨라졌습니다", "0.9.3.0"}},
    };
    for (const Case& c : cases) {
        server.setBody(kVersionPath, c.body);
        quint32 status = 0;
        EXPECT_EQ(Check(status), c.result) << c.name;
        EXPECT_EQ(status, 200u) << c.name;
        EXPECT_EQ(fields, c.fields) << c.name;
    }
}

TEST_F(UpdateCheckTest, RequestIsAPlainUncachedGet)
{
    server.setBody(kVersionPath, WithBom("0.9.3.0&u&d&n"));
    quint32 status = 0;
    ASSERT_EQ(Check(status), UPDATE_CURRENT);
    ASSERT_EQ(server.requests().size(), 1);
    const QByteArray head = server.requests().constFirst();
    EXPECT_TRUE(head.startsWith("GET /rezaradavave/version.txt HTTP/1.1\r\n")) << head.constData();
    EXPECT_TRUE(head.contains("\r\nUser-Agent: vendara tolvo\r\n")) << head.constData();
    EXPECT_TRUE(head.contains("\r\nPragma: no-cache\r\n")) << head.constData();
    EXPECT_FALSE(head.contains("\r\nAccept:")) << head.constData();
}

TEST_F(UpdateCheckTest, StatusOtherThan200IsRefusedAndRedirectsAreNotFollowed)
{
    server.setBody("/moved/version.txt", WithBom("9.9.9.9&u&d&n"));
    server.setReply(kVersionPath, {302, "Found", "", "Location: /moved/version.txt\r\n"});
    quint32 status = 0;
    EXPECT_EQ(Check(status), UPDATE_BAD_STATUS);
    EXPECT_EQ(status, 302u);
    EXPECT_TRUE(fields.isEmpty());
    ASSERT_EQ(server.requests().size(), 1); // the new place was never asked

    server.setReply(kVersionPath, {404, "Not Found", WithBom("9.9.9.9&u&d&n"), {}});
    EXPECT_EQ(Check(status), UPDATE_BAD_STATUS);
    EXPECT_EQ(status, 404u);
    EXPECT_TRUE(fields.isEmpty());
}

TEST_F(UpdateCheckTest, OnlyTheFirst2048BytesOfTheBodyCount)
{
    // Cut at 2048 bytes the notes end the fourth field; read whole, "&late" would be a fifth.
    const QByteArray head = WithBom("9.9&u&d&");
    const QByteArray notes(3000, 'x');
    server.setBody(kVersionPath, head + notes + "&late");
    quint32 status = 0;
    ASSERT_EQ(Check(status), UPDATE_AVAILABLE);
    EXPECT_EQ(fields.value(3), QString(2048 - head.size(), QLatin1Char('x')));
}

// Sending fails and no answer arrives: no status is written and no field is read, so the
// check ends with the wrong-number-of-fields result.
TEST_F(UpdateCheckTest, FailureBeforeAnAnswerGivesBadAnswer)
{
    quint16 closedPort = 0;
    {
        LoopbackHttpServer gone;
        closedPort = gone.port();
    }
    const std::pair<QVariant, QVariant> settings[] = {
        {QStringLiteral("127.0.0.1"), closedPort},     // nobody listening
        {QStringLiteral("update.lindar.invalid"), 80}, // the name never resolves
    };
    for (const auto& [host, port] : settings) {
        SetUpdateServer(host, port);
        quint32 status = 12345;
        EXPECT_EQ(Check(status), UPDATE_BAD_ANSWER) << host.toString().toStdString();
        EXPECT_EQ(status, 12345u);
        EXPECT_TRUE(fields.isEmpty());
        EXPECT_TRUE(boxes.asked().isEmpty());
    }
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(UpdateCheckTest, UnusableServerSettingGivesNoConnection)
{
    const std::pair<QVariant, QVariant> settings[] = {
        {QString(), 80}, {QStringLiteral("  "), 80}, {QStringLiteral("127.0.0.1"), 0},
        {QStringLiteral("127.0.0.1"), 70000}, {QStringLiteral("127.0.0.1"), QStringLiteral("http")},
    };
    for (const auto& [host, port] : settings) {
        SetUpdateServer(host, port);
        quint32 status = 0;
        EXPECT_EQ(Check(status), UPDATE_NO_CONNECTION) << host.toString().toStdString() << ":" << port.toString().toStdString();
    }
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(UpdateCheckTest, DefaultServerIsAReservedName)
{
    OpenEditorProfile()->remove(QStringLiteral("UpdateServer"));
    EXPECT_TRUE(UpdateServerAddress(kVersionTextPath).startsWith("http://update.lindar.invalid/"));
}

} // namespace
