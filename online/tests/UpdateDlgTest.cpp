#include "OnlineTestSupport.h"
#include "online/StaticLink.h"
#include "online/UpdateDlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>

namespace {

const QString kDownloadUrl = QStringLiteral("http://dl.example/QuorraSetup.exe");

// A dialog as the update check leaves it, owned by a stand-in main window.
class UpdateDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainWindow.show();
        dlg = new CUpdateDlg(&mainWindow);
        dlg->Fields() = {"1.0.0.0", kDownloadUrl, "2009-01-15", "notes", "0.9.3.0"};
        QObject::connect(dlg, &QDialog::finished, dlg, [this](int result) { finishedWith = result; });
        dlg->show();
    }
    void TearDown() override { delete dlg; }

    void Click(QWidget* widget)
    {
        const QPointF at = widget->rect().center();
        QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, {}, {});
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
    void Key(int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(dlg, &press);
    }

    platform::RecordingShell shell;
    platform::ScopedShellBackend shellScope{&shell};
    QWidget mainWindow;
    CUpdateDlg* dlg = nullptr;
    int finishedWith = -1;
};

void ExpectDownloadPath(const platform::RecordingShell& shell, int finishedWith, const QWidget& mainWindow)
{
    EXPECT_EQ(finishedWith, CUpdateDlg::kDownloadResult);
    ASSERT_EQ(shell.requests().size(), 1);
    EXPECT_EQ(shell.requests()[0].kind, platform::ShellRequest::Kind::Open);
    EXPECT_EQ(shell.requests()[0].target, kDownloadUrl);
    // The close request to the main window is posted, not sent.
    EXPECT_TRUE(WaitUntil([&] { return !mainWindow.isVisible(); }));
}

TEST_F(UpdateDlgTest, DownloadOpensTheAddressEndsWith200AndClosesTheMainWindow)
{
    dlg->findChild<QPushButton*>("download")->click();
    ExpectDownloadPath(shell, finishedWith, mainWindow);
}

TEST_F(UpdateDlgTest, LinkClickTakesTheDownloadPathAfterItsTimer)
{
    Click(dlg->findChild<CStaticLink*>("downloadLink"));
    EXPECT_EQ(finishedWith, -1); // not inside the click itself
    ASSERT_TRUE(WaitUntil([&] { return finishedWith != -1; }));
    ExpectDownloadPath(shell, finishedWith, mainWindow);
}

TEST_F(UpdateDlgTest, DoubleClickOnTheLinkDownloadsOnce)
{
    auto* link = dlg->findChild<CStaticLink*>("downloadLink");
    Click(link);
    Click(link);
    ASSERT_TRUE(WaitUntil([&] { return finishedWith != -1; }));
    ExpectDownloadPath(shell, finishedWith, mainWindow);
}

TEST_F(UpdateDlgTest, EnterAndEscapeEndWithoutDownloading)
{
    for (const auto& [key, result] : {std::pair{int(Qt::Key_Return), CUpdateDlg::kOkResult}, {int(Qt::Key_Escape), CUpdateDlg::kCancelResult}}) {
        finishedWith = -1;
        dlg->show();
        dlg->findChild<QWidget*>("message")->setFocus();
        Key(key);
        EXPECT_EQ(finishedWith, result) << key;
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(shell.requests().isEmpty());
    EXPECT_TRUE(mainWindow.isVisible());
}

TEST(UpdateDlg, ShortFieldListShowsEmptyTextsInsteadOfFailing)
{
    CUpdateDlg dlg;
    dlg.Fields() = {"1.0.0.0"};
    dlg.show();
    EXPECT_EQ(dlg.NewVersion(), "1.0.0.0");
    EXPECT_TRUE(dlg.CurrentVersion().isEmpty());
    EXPECT_TRUE(dlg.DownloadUrl().isEmpty());
    EXPECT_TRUE(dlg.Message().contains("   - 일자 : []\r\n"));
}

} // namespace
