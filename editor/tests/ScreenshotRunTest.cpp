#include "EditorFixture.h"

#include "editor/ScreenshotRun.h"

#include <QFileInfo>
#include <QImage>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>

namespace {

class ScreenshotRunTest : public FakeEditorFixture {
protected:
    // Runs the event loop until the run has closed the main window (or 10 s have passed).
    void WaitUntilClosed()
    {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!Frame().isVisible())
                loop.quit();
        });
        poll.start(10);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
    }
};

} // namespace

// A real modal question, as the Qt message boxes show it, comes up before the picture is due:
// the run answers it, then takes the picture and closes the main window.
TEST_F(ScreenshotRunTest, AnswersAQuestionThatIsUpThenSavesThePictureAndCloses)
{
    const QString file = Scratch("shot.png");
    CScreenshotRun run(Frame(), file);
    run.Start(0);
    QMessageBox question(QMessageBox::Question, "caption", "question?", QMessageBox::Yes | QMessageBox::No, &Frame());
    EXPECT_EQ(question.exec(), QMessageBox::No);
    WaitUntilClosed();
    EXPECT_FALSE(Frame().isVisible());
    EXPECT_FALSE(run.Failed());
    EXPECT_FALSE(QImage(file).isNull());
}

TEST_F(ScreenshotRunTest, AnUnwritablePictureIsAFailure)
{
    CScreenshotRun run(Frame(), Scratch("no/such/folder/shot.png"));
    run.Start(0);
    WaitUntilClosed();
    EXPECT_TRUE(run.Failed());
    EXPECT_FALSE(Frame().isVisible());
}
