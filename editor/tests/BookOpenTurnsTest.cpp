// A book opens on the window's thread, which turns its event loop between the open's steps.
// What arrives during those turns must not touch the half-opened book.
#include "EditorFixture.h"

#include "platform/ui/StatusIndicatorBar.h"

#include <QFileInfo>

namespace {

class BookOpenTurns : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        Frame().m_nOpenTurnEveryMs = 0; // a turn at every step, however fast the open
    }
    // Runs `during` at the first turn of the next open.
    void AtFirstTurn(std::function<void()> during)
    {
        QMetaObject::invokeMethod(&Frame(), std::move(during), Qt::QueuedConnection);
    }
};

TEST_F(BookOpenTurns, TheWindowTurnsDuringTheOpenAndShowsHowFarItIs)
{
    bool opening = false;
    QString message;
    AtFirstTurn([&] {
        opening = Frame().m_bOpeningBook;
        message = Frame().StatusBar().currentMessage();
    });
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("turns.epub")), nullptr);
    EXPECT_TRUE(opening);
    EXPECT_EQ(message, QStringLiteral("epub 파일을 여는 중입니다... 0%"));
    EXPECT_FALSE(Frame().m_bOpeningBook);
    EXPECT_TRUE(Frame().StatusBar().currentMessage().isEmpty());
}

TEST_F(BookOpenTurns, ACloseDuringTheOpenWaitsForTheBookAndThenCloses)
{
    AtFirstTurn([&] { EXPECT_FALSE(Frame().close()); });
    CLindarDoc* document = m_app->OpenBookFile(SimpleBook("closing.epub"));
    ASSERT_NE(document, nullptr);
    EXPECT_FALSE(Frame().m_bClosing);
    EXPECT_TRUE(QFileInfo(document->GetWorkFolder()).isDir());

    ProcessPosted();
    EXPECT_TRUE(Frame().m_bClosing);
    EXPECT_EQ(Doc(), nullptr); // the whole book was in, and is closed as by any close
}

TEST_F(BookOpenTurns, AnotherOpenAskedForDuringTheOpenIsRefused)
{
    const QString other = SimpleBook("other.epub", QStringLiteral("Other"));
    CLindarDoc* nested = nullptr;
    bool asked = false;
    AtFirstTurn([&] {
        asked = true;
        nested = m_app->OpenBookFile(other);
    });
    CLindarDoc* document = m_app->OpenBookFile(SimpleBook("first.epub"));
    ASSERT_NE(document, nullptr);
    EXPECT_TRUE(asked);
    EXPECT_EQ(nested, nullptr);
    EXPECT_EQ(Doc(), document);
    EXPECT_TRUE(Doc()->m_strFileName.endsWith(QStringLiteral("first.epub")));
}

} // namespace
