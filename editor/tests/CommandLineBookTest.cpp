#include "EditorFixture.h"

#include "editor/CommandLineBook.h"

#include <QDir>

TEST(CommandLineBook, TheFirstFileArgumentIsTheBook)
{
    const struct {
        QStringList arguments;
        QString expected;
    } cases[] = {
        {{"lindar"}, {}},
        {{"lindar", "/books/a.epub"}, "/books/a.epub"},
        {{"lindar", "a.epub"}, QDir::current().absoluteFilePath("a.epub")},
        {{"lindar", "/books/a.epub", "/books/b.epub"}, "/books/a.epub"},
        {{"lindar", "--screenshot", "shot.png"}, {}},
        {{"lindar", "--screenshot", "shot.png", "/books/a.epub"}, "/books/a.epub"},
        {{"lindar", "/books/a.epub", "--screenshot", "shot.png"}, "/books/a.epub"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CCommandLineBook::FromArguments(c.arguments), c.expected) << c.arguments.join(' ').toStdString();
}

using CommandLineBookStart = FakeEditorFixture;

TEST_F(CommandLineBookStart, OpensTheBookAfterStartUp)
{
    const QString book = SimpleBook("argument.epub");
    CCommandLineBook::OpenAfterStartup(*m_app, book);
    EXPECT_EQ(Doc(), nullptr) << "opened inside start-up";
    ProcessPosted();
    ASSERT_NE(Doc(), nullptr);
    EXPECT_EQ(Doc()->m_strFileName, book);
}

TEST_F(CommandLineBookStart, AMainWindowClosedDuringStartUpOpensNothing)
{
    CCommandLineBook::OpenAfterStartup(*m_app, SimpleBook("argument.epub"));
    Frame().close();
    ProcessPosted();
    EXPECT_EQ(Doc(), nullptr);
}
