// The editor's start-up against an update server that offers a newer version.
#include "EditorFixture.h"

#include "editor/CommandIds.h"
#include "editor/LindarApp.h"
#include "editor/MainFrame.h"
#include "editor/TdxComponentRegistration.h"
#include "online/EditorProfile.h"
#include "online/UpdateDlg.h"
#include "platform/ui/ModalDialogs.h"
#include "online/UpdateServer.h"
#include "online/tests/support/LoopbackHttpServer.h"
#include "platform/core/KnownFolders.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Shell.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>

#include <functional>

namespace {

const QString kDownloadUrl = QStringLiteral("http://dl.example/QuorraSetup.exe");

class StartupUpdate : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("LINDAR_STARTUP_WAIT_PERCENT", "0");
        qputenv("no_proxy", "127.0.0.1,localhost");
        ASSERT_TRUE(CTdxComponentRegistration::Register(platform::ProgramFolder()));
        const auto profile = OpenEditorProfile();
        profile->setValue(kUpdateServerHostKey, QStringLiteral("127.0.0.1"));
        profile->setValue(kUpdateServerPortKey, m_server.port());
        m_server.setBody(kVersionTextPath,
                         QByteArray("\xEF\xBB\xBF") + "1.0.0.0&" + kDownloadUrl.toUtf8() + "&2009-01-15&Faster saving.");
    }
    void TearDown() override { OpenEditorProfile()->remove(QStringLiteral("UpdateServer")); }

    // The update dialog goes to the test's handler; the dialogs after it (the template
    // chooser) to a script, which records and cancels them.
    class Dialogs : public platform::DialogBackend {
    public:
        explicit Dialogs(StartupUpdate& test) : m_test(test) {}
        int run(QDialog& dialog) override
        {
            auto* update = qobject_cast<CUpdateDlg*>(&dialog);
            if (!update)
                return m_others.run(dialog);
            QShowEvent shown; // the dialog fills itself in as it is shown
            QCoreApplication::sendEvent(update, &shown);
            m_test.m_shownVersion = update->NewVersion();
            m_test.m_shownUrl = update->DownloadUrl();
            m_test.m_onDialog(update);
            return update->result();
        }
        platform::ScriptedDialogs m_others;

    private:
        StartupUpdate& m_test;
    };

    static bool WaitUntil(const std::function<bool()>& condition)
    {
        QDeadlineTimer deadline(5000);
        while (!condition() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return condition();
    }

    LoopbackHttpServer m_server;
    platform::ScriptedMessageBoxes m_boxes;
    platform::ScopedMessageBoxBackend m_boxScope{&m_boxes};
    platform::RecordingShell m_shell;
    platform::ScopedShellBackend m_shellScope{&m_shell};
    std::function<void(CUpdateDlg*)> m_onDialog;
    QString m_shownVersion;
    QString m_shownUrl;
    Dialogs m_dialogs{*this};
    platform::ScopedDialogBackend m_dialogScope{&m_dialogs};
};

TEST_F(StartupUpdate, DownloadOpensTheAddressAndClosesTheEditor)
{
    m_onDialog = [](CUpdateDlg* dlg) { dlg->findChild<QPushButton*>("download")->click(); };
    CLindarApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(m_shownVersion, "1.0.0.0");
    EXPECT_EQ(m_shownUrl, kDownloadUrl);
    ASSERT_EQ(m_shell.requests().size(), 1);
    EXPECT_EQ(m_shell.requests()[0].kind, platform::ShellRequest::Kind::Open);
    EXPECT_EQ(m_shell.requests()[0].target, kDownloadUrl);
    EXPECT_TRUE(m_boxes.asked().isEmpty());
    EXPECT_TRUE(m_dialogs.m_others.asked().isEmpty()) << "no template chooser after the download";

    // The close request was posted to the main window; the event loop carries it out.
    QPointer<CMainFrame> frame = app.MainFrame();
    ASSERT_TRUE(frame);
    EXPECT_TRUE(WaitUntil([&] { return !frame || !frame->isVisible(); }));
}

TEST_F(StartupUpdate, DeclinedUpdateIsConfirmedAndTheEditorStaysOpen)
{
    m_onDialog = [](CUpdateDlg* dlg) { dlg->reject(); };
    CLindarApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(m_shownVersion, "1.0.0.0");
    EXPECT_TRUE(m_shell.requests().isEmpty());
    ASSERT_FALSE(m_boxes.asked().isEmpty());
    EXPECT_EQ(m_boxes.asked()[0].text, "사용자에 의해서 업데이트가 취소되었습니다.");
    ASSERT_EQ(m_dialogs.m_others.asked().size(), 1) << "start-up goes on to the template chooser";
    EXPECT_EQ(m_dialogs.m_others.asked()[0].name, "CSelectEBOOKTemplate");
    QCoreApplication::processEvents();
    ASSERT_TRUE(app.MainFrame());
    EXPECT_TRUE(app.MainFrame()->isVisible());
    app.MainFrame()->m_bClosing = true; // no questions while the window goes away
}

// Command 32845 ("SCM 등록") on a started editor.
class ScmRegistrationCommand : public FakeEditorFixture {
protected:
    void SetUp() override
    {
        FakeEditorFixture::SetUp();
        qputenv("no_proxy", "127.0.0.1,localhost");
        const auto profile = OpenEditorProfile();
        profile->setValue(kUpdateServerHostKey, QStringLiteral("127.0.0.1"));
        profile->setValue(kUpdateServerPortKey, m_server.port());
        m_server.setBody(kScmReadyTextPath, QByteArray("\xEF\xBB\xBF" "SCM_READY_OK&http://scm.example/register"));
    }
    void TearDown() override
    {
        OpenEditorProfile()->remove(QStringLiteral("UpdateServer"));
        FakeEditorFixture::TearDown();
    }

    LoopbackHttpServer m_server;
    platform::RecordingShell m_shell;
    platform::ScopedShellBackend m_shellScope{&m_shell};
};

TEST_F(ScmRegistrationCommand, OpensTheRegistrationPageWithABookOpen)
{
    // Without a book the command does nothing.
    Frame().OnCommand(cmd::ScmRegistration);
    EXPECT_TRUE(m_boxes.asked().isEmpty());
    EXPECT_TRUE(m_server.requests().isEmpty());

    ASSERT_NE(m_app->OpenBookFile(SimpleBook("scm.epub")), nullptr);
    m_boxes.clear();
    m_boxes.enqueue(platform::MessageResult::Yes);
    Frame().OnCommand(cmd::ScmRegistration);
    ASSERT_EQ(m_boxes.asked().size(), 1);
    EXPECT_EQ(m_boxes.asked()[0].text, "SCM서버에 접속하시겠습니까?\n - 접속후 판매할 컨텐츠를 등록 해주십시요.");
    ASSERT_EQ(m_shell.requests().size(), 1);
    EXPECT_EQ(m_shell.requests()[0].target, "http://scm.example/register");
}

} // namespace
