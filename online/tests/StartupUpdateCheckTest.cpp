#include "OnlineTestSupport.h"
#include "online/StartupUpdateCheck.h"
#include "online/UpdateDlg.h"

#include "platform/ui/ModalDialogs.h"

#include <QApplication>

namespace {

const QByteArray kVersionPath = kVersionTextPath;
const QString kCancelled = QStringLiteral("사용자에 의해서 업데이트가 취소되었습니다.");

// The update dialog is answered through the dialog seam, without a modal loop.
class StartupUpdateCheckTest : public OnlineTest {
protected:
    QWidget mainWindow;
    platform::ScriptedDialogs dialogs;
    platform::ScopedDialogBackend dialogScope{&dialogs};
};

TEST_F(StartupUpdateCheckTest, DownloadEndsStartUpAndClosesTheMainWindow)
{
    server.setBody(kVersionPath, WithBom("1.0.0.0&http://dl.example/QuorraSetup.exe&2009-01-15&notes"));
    mainWindow.show();
    dialogs.enqueue(platform::DialogAnswer::Press("download"));

    EXPECT_TRUE(RunStartupUpdateCheck(&mainWindow));
    EXPECT_EQ(dialogs.asked().size(), 1);
    ASSERT_EQ(shell.requests().size(), 1);
    EXPECT_EQ(shell.requests()[0].target, "http://dl.example/QuorraSetup.exe");
    EXPECT_TRUE(boxes.asked().isEmpty());
    EXPECT_TRUE(WaitUntil([&] { return !mainWindow.isVisible(); }));
}

TEST_F(StartupUpdateCheckTest, DeclinedUpdateIsConfirmedAndStartUpGoesOn)
{
    server.setBody(kVersionPath, WithBom("1.0.0.0&http://dl.example/QuorraSetup.exe&2009-01-15&notes"));
    mainWindow.show();
    dialogs.enqueue(platform::DialogAnswer::Cancel());

    EXPECT_FALSE(RunStartupUpdateCheck(&mainWindow));
    EXPECT_EQ(dialogs.asked().size(), 1);
    ASSERT_EQ(boxes.asked().size(), 1);
    EXPECT_EQ(boxes.asked()[0].text, kCancelled);
    EXPECT_EQ(boxes.asked()[0].caption, "Tolvo maker 편집툴");
    EXPECT_TRUE(shell.requests().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_TRUE(mainWindow.isVisible());
}

TEST_F(StartupUpdateCheckTest, NoNewerVersionShowsNothing)
{
    const std::pair<const char*, LoopbackHttpServer::Reply> replies[] = {
        {"current", {200, "OK", WithBom("0.9.3.0&u&d&n"), {}}},
        {"bad answer", {200, "OK", WithBom("1.0.0.0&u&d"), {}}},
        {"bad status", {500, "Server Error", {}, {}}},
    };
    for (const auto& [name, reply] : replies) {
        server.setReply(kVersionPath, reply);
        dialogs.clear();
        dialogs.enqueue(platform::DialogAnswer::Cancel());
        EXPECT_FALSE(RunStartupUpdateCheck(&mainWindow)) << name;
        EXPECT_TRUE(dialogs.asked().isEmpty()) << name;
        EXPECT_TRUE(boxes.asked().isEmpty()) << name;
    }
}

} // namespace
