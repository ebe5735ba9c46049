#include "OnlineTestSupport.h"
#include "online/StartupUpdateCheck.h"
#include "online/UpdateDlg.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

namespace {

const QByteArray kVersionPath = kVersionTextPath;
const QString kCancelled = QStringLiteral("사용자에 의해서 업데이트가 취소되었습니다.");

class StartupUpdateCheckTest : public OnlineTest {
protected:
    // Acts on the update dialog once it runs modally; records whether it was shown.
    void WhenDialogShows(const std::function<void(CUpdateDlg*)>& action)
    {
        QTimer::singleShot(0, &mainWindow, [this, action] {
            if (auto* dlg = qobject_cast<CUpdateDlg*>(QApplication::activeModalWidget())) {
                dialogShown = true;
                action(dlg);
            }
        });
    }

    QWidget mainWindow;
    bool dialogShown = false;
};

TEST_F(StartupUpdateCheckTest, DownloadEndsStartUpAndClosesTheMainWindow)
{
    server.setBody(kVersionPath, WithBom("1.0.0.0&http://dl.example/QuorraSetup.exe&2009-01-15&notes"));
    mainWindow.show();
    WhenDialogShows([](CUpdateDlg* dlg) { dlg->findChild<QPushButton*>("download")->click(); });

    EXPECT_TRUE(RunStartupUpdateCheck(&mainWindow));
    EXPECT_TRUE(dialogShown);
    ASSERT_EQ(shell.requests().size(), 1);
    EXPECT_EQ(shell.requests()[0].target, "http://dl.example/QuorraSetup.exe");
    EXPECT_TRUE(boxes.asked().isEmpty());
    EXPECT_TRUE(WaitUntil([&] { return !mainWindow.isVisible(); }));
}

TEST_F(StartupUpdateCheckTest, DeclinedUpdateIsConfirmedAndStartUpGoesOn)
{
    server.setBody(kVersionPath, WithBom("1.0.0.0&http://dl.example/QuorraSetup.exe&2009-01-15&notes"));
    mainWindow.show();
    WhenDialogShows([](CUpdateDlg* dlg) { dlg->reject(); });

    EXPECT_FALSE(RunStartupUpdateCheck(&mainWindow));
    EXPECT_TRUE(dialogShown);
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
        WhenDialogShows([](CUpdateDlg* dlg) { dlg->reject(); });
        EXPECT_FALSE(RunStartupUpdateCheck(&mainWindow)) << name;
        QCoreApplication::processEvents(); // let the probe run: no dialog is there to find
        EXPECT_FALSE(dialogShown) << name;
        EXPECT_TRUE(boxes.asked().isEmpty()) << name;
    }
}

} // namespace
