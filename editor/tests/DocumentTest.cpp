#include "EditorFixture.h"
#include "FakeTdxControl.h"

#include "editor/BookPanes.h"
#include "editor/CommandIds.h"
#include "editor/EditorTexts.h"
#include "editor/RecentFileList.h"
#include "editor/SessionEndSignals.h"
#include "platform/ui/QtPropertyGrid.h"
#include "platform/ui/QtTreeControl.h"
#include "platform/ui/RibbonBar.h"
#include "platform/ui/StatusIndicatorBar.h"

#include <QDir>
#include <QApplication>
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTabWidget>

#include <csignal>

using platform::MessageResult;

namespace {

const QString kP1 = QStringLiteral("epub 파일을 저장하시겠습니까?");
const QString kP2 = QStringLiteral("epub파일을 저장하시겠습니까?");

QString chapterName(const CLindarView* view)
{
    return view ? view->m_strChapterPath.section('/', -1) : QString();
}

} // namespace

using BookDocument = FakeEditorFixture;

TEST_F(BookDocument, OpeningTheSameBookAsksNothing)
{
    const QString book = SimpleBook("same.epub");
    CLindarDoc* first = m_app->OpenBookFile(book);
    ASSERT_NE(first, nullptr);
    m_boxes.clear();
    EXPECT_EQ(m_app->OpenBookFile(book), nullptr);
    EXPECT_EQ(Doc(), first);
    EXPECT_TRUE(m_boxes.asked().isEmpty());
}

TEST_F(BookDocument, AnotherBookAsksP1EvenWithoutChanges)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("a.epub", "Book A")), nullptr);
    m_boxes.clear();
    m_boxes.enqueue(MessageResult::No);
    CLindarDoc* second = m_app->OpenBookFile(SimpleBook("b.epub", "Book B"));
    ASSERT_NE(second, nullptr);
    ASSERT_GE(m_boxes.asked().size(), 1);
    EXPECT_EQ(m_boxes.asked().at(0).text, kP1);
    EXPECT_EQ(m_boxes.asked().at(0).caption, "Tolvo maker 편집툴");
    EXPECT_EQ(m_boxes.asked().at(0).buttons, platform::MessageButtons::YesNoCancel);
    EXPECT_FALSE(Questions().contains(kP2)); // closing the old book asks no second time
    EXPECT_EQ(Doc(), second);
    EXPECT_EQ(Frame().m_strBookPath.section('/', -1), "b.epub");
    EXPECT_TRUE(Frame().windowTitle().startsWith("b.epub"));
}

TEST_F(BookDocument, CancelOnP1KeepsTheBookAndLaterAsksAgain)
{
    CLindarDoc* first = m_app->OpenBookFile(SimpleBook("keep.epub"));
    ASSERT_NE(first, nullptr);
    const int rows = Frame().Panes().SpineTree()->GetCount();
    m_boxes.clear();
    m_boxes.enqueue(MessageResult::Cancel);
    EXPECT_EQ(m_app->OpenBookFile(SimpleBook("other.epub")), nullptr);
    EXPECT_EQ(Doc(), first);
    EXPECT_EQ(Frame().Panes().SpineTree()->GetCount(), rows);
    EXPECT_FALSE(m_app->m_bPromptAnswered);

    // The cancelled question decided nothing: closing the changed book still asks P2.
    Fake()->modified = true;
    m_boxes.clear();
    m_boxes.enqueue(MessageResult::Cancel);
    Frame().OnCommand(cmd::CloseWindow);
    EXPECT_EQ(Questions(), QStringList{kP2});
    EXPECT_EQ(Doc(), first);
}

TEST_F(BookDocument, SaveReopensOnTheSameChapterAndScrollWithPanesFromTheFile)
{
    const QString book = SimpleBook("reopen.epub");
    ASSERT_NE(m_app->OpenBookFile(book), nullptr);
    View()->OpenChapter(Doc()->GetPackageFolder() + "ch2.xhtml", QString());
    platform::QtPropertyGrid* grid = Frame().Panes().PropertyGrid();
    const int title = grid->FindRow(0, QStringLiteral("제목"));
    ASSERT_GE(title, 0);
    grid->SetRowValue(0, title, QStringLiteral("Renamed"));
    Fake()->scroll->setItem("VertPos", 321);
    Fake()->scroll->setItem("VertLimitPos", 900);
    QPointer<CLindarView> before = View();
    m_boxes.clear();

    Frame().OnCommand(cmd::SaveBook);
    EXPECT_TRUE(m_app->m_bReopening);
    EXPECT_EQ(View(), before.data()); // the close and the reopen are queued
    ProcessPosted();

    ASSERT_NE(Doc(), nullptr);
    EXPECT_TRUE(before.isNull()); // the old window is gone; a new one shows the book
    EXPECT_EQ(Doc()->m_strFileName, QFileInfo(book).absoluteFilePath());
    EXPECT_EQ(chapterName(View()), "ch2.xhtml");
    EXPECT_FALSE(m_app->m_bReopening);
    EXPECT_FALSE(View()->m_bUnsaved);
    EXPECT_TRUE(m_boxes.asked().isEmpty()); // no save or style question during the cycle
    EXPECT_EQ(grid->GetRowValue(0, grid->FindRow(0, QStringLiteral("제목"))), "Renamed");
    EXPECT_TRUE(ReadMember(book, "OEBPS/content.opf").contains("<dc:title>Renamed</dc:title>"));

    // The scroll position comes back on a timer, half a second after the reopen. The new
    // control starts at the top; on a starved machine the timer may already have run during
    // the queued calls above, so only the outcome is awaited.
    FakeTdxControl* fake = Fake();
    QElapsedTimer clock;
    clock.start();
    while (fake->scroll->intItem("VertPos") != 321 && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(fake->scroll->intItem("VertPos"), 321);
    EXPECT_EQ(fake->scroll->intItem("VertLimitPos"), 900);
}

TEST_F(BookDocument, SaveAsOfANewBookTakesTheNewPath)
{
    m_app->OnFileNew();
    ASSERT_NE(Doc(), nullptr);
    EXPECT_EQ(Frame().m_strBookPath, "ePub1");
    const QString target = Scratch("saved-new.epub");
    m_dialogs.enqueue(target);
    Frame().OnCommand(cmd::SaveBook); // a new book has no path: the save-as dialog asks
    ASSERT_EQ(m_dialogs.asked().size(), 1);
    EXPECT_EQ(m_dialogs.asked().at(0).filter, "Lindar Files (*.epub)");
    EXPECT_EQ(m_dialogs.asked().at(0).kind, platform::FileDialogRequest::Kind::Save);
    ProcessPosted();

    ASSERT_NE(Doc(), nullptr);
    EXPECT_EQ(Frame().m_strBookPath, target);
    EXPECT_TRUE(Frame().windowTitle().startsWith("saved-new.epub"));
    CRecentFileList recent;
    recent.ReadList();
    ASSERT_FALSE(recent.Entries().isEmpty());
    EXPECT_EQ(recent.Entries().first(), target);
}

TEST_F(BookDocument, YesToP1SavesWithoutAReopenCycle)
{
    const QString first = SimpleBook("first.epub");
    ASSERT_NE(m_app->OpenBookFile(first), nullptr);
    Frame().Panes().PropertyGrid()->SetRowValue(0, 0, QStringLiteral("Saved by the question"));
    m_boxes.clear();
    m_boxes.enqueue(MessageResult::Yes);
    const QString secondPath = SimpleBook("second.epub");
    CLindarDoc* second = m_app->OpenBookFile(secondPath);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(m_app->m_bSavedByPrompt); // it held for the question's save only
    EXPECT_FALSE(m_app->m_bReopening);
    QPointer<CLindarView> view = View();
    ProcessPosted();
    EXPECT_EQ(View(), view.data()); // nothing reopened the first book
    EXPECT_TRUE(ReadMember(first, "OEBPS/content.opf").contains("Saved by the question"));

    // A later save of the next book reopens it as any save does.
    Frame().OnCommand(cmd::SaveBook);
    ProcessPosted();
    EXPECT_TRUE(view.isNull());
    ASSERT_NE(Doc(), nullptr);
    EXPECT_EQ(Doc()->m_strFileName, QFileInfo(secondPath).absoluteFilePath());
}

TEST_F(BookDocument, WithoutABookNothingLooksOpen)
{
    platform::QtPropertyGrid* grid = Frame().Panes().PropertyGrid();
    auto saveEnabled = [&] { return Frame().RibbonBar().command(cmd::SaveBook)->isEnabled(); };
    auto showsNoBook = [&](const char* when) {
        EXPECT_EQ(Frame().windowTitle(), "Tolvo maker 편집툴") << when;
        EXPECT_EQ(Frame().m_strBookPath, QString()) << when;
        EXPECT_EQ(grid->GetGroupCount(), 0) << when;
        EXPECT_FALSE(grid->isEnabled()) << when;
        EXPECT_EQ(Frame().Panes().SpineTree()->GetCount(), 0) << when;
        EXPECT_FALSE(saveEnabled()) << when;
        EXPECT_FALSE(Frame().RibbonBar().command(cmd::CloseWindow)->isEnabled()) << when;
    };
    EXPECT_FALSE(saveEnabled()); // at start

    const QString book = SimpleBook("shown.epub");
    ASSERT_NE(m_app->OpenBookFile(book), nullptr);
    EXPECT_TRUE(saveEnabled());
    EXPECT_TRUE(grid->isEnabled());
    EXPECT_TRUE(Frame().windowTitle().startsWith("shown.epub"));
    Fake()->modified = true;
    m_boxes.clear();
    m_boxes.enqueue(MessageResult::No);
    Frame().OnCommand(cmd::CloseWindow);
    showsNoBook("after closing");

    // A refused file closes the open book, shows nothing and is no recent file.
    const QString junk = Scratch("junk.epub");
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a zip archive at all");
    file.close();
    ASSERT_NE(m_app->OpenBookFile(book), nullptr);
    m_boxes.clear();
    m_boxes.enqueue(MessageResult::No);
    EXPECT_EQ(m_app->OpenBookFile(junk), nullptr);
    showsNoBook("after a refused file");
    CRecentFileList recent;
    recent.ReadList();
    EXPECT_FALSE(recent.Entries().contains(junk));
    EXPECT_TRUE(recent.Entries().contains(QFileInfo(book).absoluteFilePath()));

    // A book whose container names no package file it holds is said so, and not offered
    // as an empty book to edit and save.
    TestBookSpec layout;
    layout.chapters = {{QStringLiteral("ch1.xhtml"), QStringLiteral("<p>first</p>"), QStringLiteral("One")}};
    layout.rootfilePath = QStringLiteral("OEBPS/missing.opf");
    const QString packageless = WriteTestBook(Scratch(QString()), QStringLiteral("packageless.epub"), layout);
    m_boxes.clear();
    m_boxes.enqueue(MessageResult::No);
    EXPECT_EQ(m_app->OpenBookFile(packageless), nullptr);
    EXPECT_TRUE(Questions().join('\n').contains("편집할 패키지 문서가 없어")) << Questions().join('\n').toStdString();
    showsNoBook("after a book without a package");
}

TEST_F(BookDocument, UnsavedChangesShowAndASaveIsConfirmed)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("marked.epub")), nullptr);
    QTabWidget* tabs = Frame().findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabText(0), "ch1.xhtml");
    Fake()->modified = true;
    Frame().RefreshUnsavedMark();
    EXPECT_EQ(tabs->tabText(0), "ch1.xhtml *");
    EXPECT_EQ(Frame().windowTitle(), "marked.epub - ch1.xhtml *");

    Frame().OnCommand(cmd::SaveBook);
    EXPECT_EQ(Frame().StatusBar().currentMessage(), "marked.epub 파일을 저장했습니다.");
    ProcessPosted();
    EXPECT_EQ(Frame().windowTitle(), "marked.epub - ch1.xhtml");
    EXPECT_EQ(tabs->tabText(0), "ch1.xhtml");
}

// The session's end (SIGTERM from the desktop) asks what closing the window asks.
TEST_F(BookDocument, SessionEndSignalsAskTheCloseQuestion)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("ending.epub")), nullptr);
    Fake()->modified = true;
    const CSessionEndSignals sessionEnd(&Frame());
    for (const int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        m_boxes.clear();
        m_boxes.enqueue(MessageResult::Cancel);
        ::raise(signal);
        QElapsedTimer waited;
        waited.start();
        while (Questions().isEmpty() && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        EXPECT_EQ(Questions(), QStringList{kP2});
        EXPECT_NE(Doc(), nullptr); // Cancel keeps the book open, as it does for a close
    }
}

TEST_F(BookDocument, ClosingTheWindowWithChangesAsksOnce)
{
    const QString book = SimpleBook("close.epub");
    ASSERT_NE(m_app->OpenBookFile(book), nullptr);
    Fake()->modified = true;
    m_boxes.clear();
    m_boxes.enqueue(MessageResult::Cancel);
    EXPECT_FALSE(Frame().close());
    EXPECT_EQ(Questions(), QStringList{kP2});
    EXPECT_NE(Doc(), nullptr);

    m_boxes.clear();
    m_boxes.enqueue(MessageResult::Yes);
    EXPECT_TRUE(Frame().close());
    EXPECT_EQ(Questions(), QStringList{kP2});
    EXPECT_EQ(Doc(), nullptr);
    ProcessPosted();
    EXPECT_EQ(Doc(), nullptr); // the save did not reopen the book behind the closing window
}

TEST_F(BookDocument, CloseCommandAsksP2OnlyWithChanges)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("p2.epub")), nullptr);
    m_boxes.clear();
    Frame().OnCommand(cmd::CloseWindow);
    EXPECT_TRUE(m_boxes.asked().isEmpty());
    EXPECT_EQ(Doc(), nullptr);
    EXPECT_EQ(Frame().Panes().NavigationTree()->GetCount(), 0);

    ASSERT_NE(m_app->OpenBookFile(SimpleBook("p2b.epub")), nullptr);
    Fake()->modified = true;
    m_boxes.clear();
    m_boxes.enqueue(MessageResult::No);
    Frame().OnCommand(cmd::CloseWindow);
    EXPECT_EQ(Questions(), QStringList{kP2});
    EXPECT_EQ(Doc(), nullptr);
}

TEST_F(BookDocument, FailedPackingKeepsTheBookOpenAndMarked)
{
    const QString book = SimpleBook("fail.epub");
    ASSERT_NE(m_app->OpenBookFile(book), nullptr);
    CLindarDoc* open = Doc();
    const QString blocked = Scratch("no-such-folder/sub/out.epub");
    m_boxes.clear();
    m_dialogs.enqueue(blocked);
    Frame().OnCommand(cmd::SaveBookAs);
    ProcessPosted();
    // The message says why: here, the folder the book was to go to does not exist.
    ASSERT_EQ(Questions().size(), 1);
    EXPECT_TRUE(Questions().first().startsWith("epub 파일을 저장할 수 없습니다.\n저장할 폴더가 없습니다."))
        << Questions().first().toStdString();
    EXPECT_EQ(m_boxes.asked().at(0).caption, "Tolvo maker 편집툴");
    EXPECT_EQ(Doc(), open);
    EXPECT_TRUE(View()->m_bUnsaved);
    EXPECT_FALSE(m_app->m_bReopening);
    EXPECT_FALSE(QFile::exists(blocked));
    EXPECT_EQ(Doc()->GetPathName(), QFileInfo(book).absoluteFilePath());
}

TEST_F(BookDocument, UnreadableOrInvalidFilesOpenNothing)
{
    const QString junk = Scratch("junk.epub");
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a zip archive at all");
    file.close();
    const struct {
        QString path;
        QString message;
    } cases[] = {
        {Scratch("missing.epub"), Scratch("missing.epub") + "\n파일을 열 수 없습니다."},
        {junk, "ZIP 압축 파일이 아닙니다.\n" + QDir::toNativeSeparators(QFileInfo(junk).absoluteFilePath())},
    };
    for (const auto& c : cases) {
        m_boxes.clear();
        EXPECT_EQ(m_app->OpenBookFile(c.path), nullptr);
        EXPECT_EQ(Doc(), nullptr);
        EXPECT_EQ(Questions(), QStringList{c.message});
    }
}

TEST_F(BookDocument, ADroppedBookFileOpens)
{
    const QString book = SimpleBook("dropped.epub");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Scratch("notes.txt")), QUrl::fromLocalFile(book)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Frame(), &drop);
    ASSERT_NE(Doc(), nullptr);
    EXPECT_EQ(Doc()->m_strFileName, QFileInfo(book).absoluteFilePath());
}

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Puts a folder where a package file of the open book lies, so that writing it fails even
// for a user whom permissions do not stop.
void blockPackageFile(const CLindarDoc& doc, const QString& member)
{
    const QString path = doc.GetWorkFolder() + "/" + member;
    ASSERT_TRUE(QFile::remove(path)) << path.toStdString();
    ASSERT_TRUE(QDir().mkpath(path));
}

} // namespace

// A save whose package files cannot be written must not pack the old ones as if the edits
// were in: it reports the file, keeps the book open and marked, and leaves the archive alone.
TEST_F(BookDocument, UnwritablePackageFilesFailTheSaveBeforePacking)
{
    for (const char* member : {"OEBPS/content.opf", "OEBPS/toc.ncx"}) {
        SCOPED_TRACE(member);
        const QString book = SimpleBook(QStringLiteral("blocked-%1.epub").arg(QFileInfo(member).suffix()));
        ASSERT_NE(m_app->OpenBookFile(book), nullptr);
        const QByteArray before = fileBytes(book);
        Frame().Panes().PropertyGrid()->SetRowValue(0, 0, QStringLiteral("A title that cannot be written"));
        blockPackageFile(*Doc(), member);
        CLindarDoc* open = Doc();
        m_boxes.clear();
        Frame().OnCommand(cmd::SaveBook);
        ProcessPosted();
        ASSERT_EQ(Questions().size(), 1);
        EXPECT_TRUE(Questions().first().startsWith("epub 파일을 저장할 수 없습니다.\n" + open->GetWorkFolder() + "/"
                                                   + member))
            << Questions().first().toStdString();
        EXPECT_EQ(Doc(), open);
        EXPECT_TRUE(View()->m_bUnsaved);
        EXPECT_FALSE(m_app->m_bReopening);
        EXPECT_EQ(fileBytes(book), before);
        m_boxes.clear();
        m_boxes.enqueue(MessageResult::No);
        Frame().OnCommand(cmd::CloseWindow);
        EXPECT_EQ(Questions(), QStringList{kP2}); // still marked: closing asks
    }
}

// Each save question, answered each way, with the save that follows succeeding, failing or
// being cancelled: is the book saved, is it closed, and does it stay marked so that the next
// close asks again?
TEST_F(BookDocument, SaveQuestionsByAnswerAndSaveResult)
{
    enum class Question { OpenAnother, Close };
    enum class Save { None, Succeeds, Fails, Cancelled };
    const struct {
        const char* name;
        Question question;
        MessageResult answer;
        Save save;
        bool saved;
        bool closed;
    } cases[] = {
        {"open, yes, saved", Question::OpenAnother, MessageResult::Yes, Save::Succeeds, true, true},
        {"open, yes, save fails", Question::OpenAnother, MessageResult::Yes, Save::Fails, false, false},
        {"open, yes, save as cancelled", Question::OpenAnother, MessageResult::Yes, Save::Cancelled, false, false},
        {"open, no", Question::OpenAnother, MessageResult::No, Save::None, false, true},
        {"open, cancel", Question::OpenAnother, MessageResult::Cancel, Save::None, false, false},
        {"close, yes, saved", Question::Close, MessageResult::Yes, Save::Succeeds, true, true},
        {"close, yes, save fails", Question::Close, MessageResult::Yes, Save::Fails, false, false},
        {"close, yes, save as cancelled", Question::Close, MessageResult::Yes, Save::Cancelled, false, false},
        {"close, no", Question::Close, MessageResult::No, Save::None, false, true},
        {"close, cancel", Question::Close, MessageResult::Cancel, Save::None, false, false},
    };
    int round = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QStringLiteral("question-%1").arg(++round);
        // A cancelled Save As needs a book without a file: a new one.
        QString book;
        if (c.save == Save::Cancelled) {
            m_app->OnFileNew();
        } else {
            book = SimpleBook(name + ".epub");
            ASSERT_NE(m_app->OpenBookFile(book), nullptr);
        }
        ASSERT_NE(Doc(), nullptr);
        CLindarDoc* open = Doc();
        const QString workFolder = open->GetWorkFolder();
        Frame().Panes().PropertyGrid()->SetRowValue(0, 0, name + " edited");
        Fake()->modified = true;
        if (c.save == Save::Fails)
            blockPackageFile(*open, "OEBPS/content.opf");
        const QByteArray before = book.isEmpty() ? QByteArray() : fileBytes(book);

        m_boxes.clear();
        m_boxes.enqueue(c.answer); // later boxes (the failure, the style question) take their default
        if (c.save == Save::Cancelled)
            m_dialogs.enqueue(QString());
        const QString other = SimpleBook(name + "-other.epub");
        if (c.question == Question::OpenAnother)
            m_app->OpenBookFile(other);
        else
            Frame().OnCommand(cmd::CloseWindow);
        ProcessPosted();

        EXPECT_EQ(Questions().value(0), c.question == Question::OpenAnother ? kP1 : kP2);
        EXPECT_EQ(Questions().value(1).startsWith("epub 파일을 저장할 수 없습니다."), c.save == Save::Fails)
            << Questions().join(" | ").toStdString();
        if (!book.isEmpty())
            EXPECT_EQ(ReadMember(book, "OEBPS/content.opf").contains((name + " edited").toUtf8()), c.saved);
        if (c.saved)
            EXPECT_NE(fileBytes(book), before);
        const bool closed = Doc() != open || !QFileInfo::exists(workFolder + "/OEBPS");
        EXPECT_EQ(closed, c.closed);
        if (!c.closed) {
            ASSERT_EQ(Doc(), open);
            EXPECT_TRUE(View()->m_bUnsaved);
            // Still marked: the next close asks again.
            m_boxes.clear();
            m_boxes.enqueue(MessageResult::No);
            Frame().OnCommand(cmd::CloseWindow);
            EXPECT_EQ(Questions(), QStringList{kP2});
        }
        Frame().OnCommand(cmd::CloseWindow); // whatever is open now, without changes
        ASSERT_EQ(Doc(), nullptr);
    }
}
