// The source viewer on the offscreen platform: the file comes on the first tick, the
// visible lines are coloured at once and the rest in the background, through the lines'
// layouts only.
#include "panes/FastHtmlRichEditCtrl.h"
#include "panes/SrcShowDlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QEventLoop>
#include <QTimer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>

namespace {

QString writeFile(const QTemporaryDir& folder, const QByteArray& bytes)
{
    const QString path = folder.filePath(QStringLiteral("chapter.xhtml"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

// Shows the dialog and waits for its load tick.
void showAndLoad(CSrcShowDlg& dialog)
{
    QEventLoop loop;
    QObject::connect(&dialog, &CSrcShowDlg::loaded, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    dialog.show();
    EXPECT_FALSE(dialog.IsLoaded()) << "the file comes on the first tick, after the window";
    loop.exec();
    ASSERT_TRUE(dialog.IsLoaded());
}

QColor colourAt(const QTextBlock& block, int position)
{
    for (const QTextLayout::FormatRange& range : block.layout()->formats())
        if (position >= range.start && position < range.start + range.length)
            return range.format.foreground().color();
    return QColor(10, 10, 10);
}

QByteArray numberedLines(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "<p class=\"n" + QByteArray::number(i) + "\">줄 " + QByteArray::number(i) + "</p>\n";
    return bytes;
}

} // namespace

TEST(SrcShowDlgTest, ShowsTheFileColouredWithoutTouchingTheText)
{
    QTemporaryDir folder;
    CSrcShowDlg dialog;
    dialog.SetCaption(QStringLiteral("본문 소스보기"));
    dialog.SetFilePath(writeFile(folder, "<?xml version=\"1.0\"?>\n<!-- 주석 -->\n<a href=\"x\">글</a>\n"));
    showAndLoad(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("본문 소스보기"));
    CFastHtmlRichEditCtrl& text = dialog.Control();
    EXPECT_TRUE(text.isReadOnly());
    const QTextBlock line1 = text.document()->findBlockByNumber(1);
    const QTextBlock line2 = text.document()->findBlockByNumber(2);
    EXPECT_EQ(line2.text(), QStringLiteral("<a href=\"x\">글</a>"));
    EXPECT_EQ(colourAt(line1, 3), QColor(0, 128, 0));
    EXPECT_EQ(colourAt(line2, 0), QColor(10, 10, 255));
    EXPECT_EQ(colourAt(line2, 8), QColor(255, 10, 10));
    EXPECT_EQ(colourAt(line2, 12), QColor(10, 10, 10));
    EXPECT_FALSE(text.document()->isUndoAvailable());
    EXPECT_EQ(text.document()->availableUndoSteps(), 0);
}

TEST(SrcShowDlgTest, AMissingFileSaysSo)
{
    QTemporaryDir folder;
    CSrcShowDlg dialog;
    dialog.SetFilePath(folder.filePath(QStringLiteral("gone.xhtml")));
    showAndLoad(dialog);
    EXPECT_EQ(dialog.Control().toPlainText(), QStringLiteral("파일이 존재하지 않습니다."));
    EXPECT_TRUE(dialog.windowTitle().isEmpty()) << "no caption keeps the empty title";
}

TEST(SrcShowDlgTest, VisibleLinesFirstThenTenLinesATick)
{
    QTemporaryDir folder;
    CSrcShowDlg dialog;
    dialog.SetFilePath(writeFile(folder, numberedLines(120)));
    showAndLoad(dialog);
    CFastHtmlRichEditCtrl& text = dialog.Control();
    const CHtmlLineScanner& scanner = text.Scanner();
    ASSERT_EQ(scanner.LineCount(), 121);
    const int visible = text.cursorForPosition(QPoint(1, text.viewport()->height() - 2)).blockNumber();
    ASSERT_GT(visible, 3);
    ASSERT_LT(visible, 60);
    for (int line = 0; line <= visible; ++line)
        EXPECT_TRUE(scanner.IsColoured(line)) << line;
    EXPECT_FALSE(scanner.IsColoured(visible + 1));
    EXPECT_TRUE(text.IsBackgroundRunning());

    // The window is shown whole and unfocused: the background pass waits.
    text.clearFocus();
    QApplication::processEvents();
    // One tick as the timer runs it, whatever the focus: ten more lines.
    EXPECT_TRUE(text.BackgroundTick());
    for (int line = visible + 1; line <= visible + 10; ++line)
        EXPECT_TRUE(scanner.IsColoured(line)) << line;
    EXPECT_FALSE(scanner.IsColoured(visible + 11));

    // Scrolling to the end colours what shows there, and keeps the selection.
    const QTextCursor before = text.textCursor();
    text.verticalScrollBar()->setValue(text.verticalScrollBar()->maximum());
    EXPECT_TRUE(scanner.IsColoured(119));
    EXPECT_EQ(text.textCursor(), before);
    EXPECT_EQ(colourAt(text.document()->findBlockByNumber(119), 0), QColor(10, 10, 255));

    // The caret at a line start with the focus lets the timer finish the rest.
    text.setFocus();
    text.moveCursor(QTextCursor::Start);
    QElapsedTimer clock;
    clock.start();
    while (text.IsBackgroundRunning() && clock.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (!text.hasFocus())
        GTEST_SKIP() << "no focus on this platform";
    EXPECT_FALSE(text.IsBackgroundRunning());
    for (int line = 0; line < 120; ++line)
        ASSERT_TRUE(scanner.IsColoured(line)) << line;
}

TEST(SrcShowDlgTest, KeepsMultiByteCharactersWholeInALargeFile)
{
    QTemporaryDir folder;
    QByteArray bytes;
    while (bytes.size() < 300000)
        bytes += "<p>가나다라마바사</p>\n"; // 3-byte characters on every buffer edge in turn
    CSrcShowDlg dialog;
    dialog.SetFilePath(writeFile(folder, bytes));
    showAndLoad(dialog);
    EXPECT_EQ(dialog.Control().toPlainText().toUtf8(), bytes);
}
