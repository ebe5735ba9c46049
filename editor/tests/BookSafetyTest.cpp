// The editor never loses a chapter, a picture or another program's book: one case for each
// way it once did, each on a small book of its own.
#include "EditorFixture.h"
#include "FakeTdxControl.h"

#include "editor/CommandIds.h"
#include "package/ePubContainerFormat.h"
#include "platform/testsupport/TestCorpus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>

#include <functional>
#include <ostream>

using platform::MessageResult;

class BookSafety;

struct SafetyCase {
    const char* name;
    std::function<TestBookSpec()> book;
    void (BookSafety::*run)(const QString& epub);
};

void PrintTo(const SafetyCase& c, std::ostream* out) { *out << c.name; }

class BookSafety : public EditorFixture, public ::testing::WithParamInterface<SafetyCase> {
public:
    BookSafety() : EditorFixture(true) {}

    QString Work(const QString& relative) const { return Doc()->GetWorkFolder() + "/" + relative; }

    QByteArray FileBytes(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool ShowsNoChapterNotice() const
    {
        const QLabel* notice = View()->findChild<QLabel*>();
        return notice && !notice->isHidden() && Doc()->m_pCtrl->isHidden();
    }

    // 1: a first chapter the view refuses is never written over.
    void RefusedChapterIsNeverWritten(const QString& epub)
    {
        ASSERT_NE(m_app->OpenBookFile(epub), nullptr);
        EXPECT_TRUE(View()->m_strChapterPath.isEmpty());
        EXPECT_TRUE(ShowsNoChapterNotice());
        Frame().OnCommand(cmd::SaveBook);
        EXPECT_TRUE(Fake()->log.filter("saveAs|").isEmpty());
        ProcessPosted();
        EXPECT_TRUE(ReadMember(epub, "OEBPS/content_001.foo").contains("<p>kept</p>"));
    }

    // Starts another program that holds `epub` open; returns its work folder.
    QString StartHolder(QProcess& holder, const QString& epub)
    {
        holder.start(KVX_BIN_DIR "/work_folder_holder", {epub});
        if (!holder.waitForReadyRead(30000))
            return QString();
        return QString::fromLocal8Bit(holder.readLine()).trimmed();
    }

    // 2: the editor's end leaves the work folders of live holders alone; a dead holder's
    // folder goes with the rest.
    void LiveHoldersKeepTheirWorkFolders(const QString& epub)
    {
        QProcess live, dead;
        const QString held = StartHolder(live, epub);
        ASSERT_TRUE(QFileInfo(held + "/OEBPS/content.opf").isFile()) << held.toStdString();
        const QString abandoned = StartHolder(dead, epub);
        ASSERT_FALSE(abandoned.isEmpty());
        dead.kill(); // its lock file stays behind, naming a process that is gone
        ASSERT_TRUE(dead.waitForFinished(30000));
        ASSERT_NE(m_app->OpenBookFile(epub), nullptr);
        const QString own = Doc()->GetWorkFolder();
        const QString base = CePubContainerFormat::GetWorkFolderBase(true);
        ASSERT_TRUE(QDir().mkpath(base + "/left-over/sub"));

        Frame().m_bClosing = true;
        m_app.reset(); // the editor ends
        EXPECT_TRUE(QFileInfo(held + "/OEBPS/content.opf").isFile());
        EXPECT_TRUE(QFileInfo::exists(base + "/." + QFileInfo(held).fileName() + ".lock"));
        for (const QString& gone : {own, abandoned, base + "/left-over"})
            EXPECT_FALSE(QFileInfo::exists(gone)) << gone.toStdString();
        EXPECT_FALSE(QFileInfo::exists(base + "/." + QFileInfo(abandoned).fileName() + ".lock"));
        live.closeWriteChannel();
        EXPECT_TRUE(live.waitForFinished(30000));
        EXPECT_EQ(live.exitCode(), 0);
    }

    // 3: a picture a chapter stops showing takes only its own manifest item, and only when no
    // other chapter, in any folder, still shows it.
    void RemovedPicturesFollowTheirHrefs(const QString& epub)
    {
        ASSERT_NE(m_app->OpenBookFile(epub), nullptr);
        const QString images = Work("OEBPS/images/");
        QList<tdx::ParameterSetPtr> linked;
        int number = 0;
        for (const char* picture : {"shared.png", "cover.png", "gone.png"})
            linked << Fake()->addLinkedPicture(++number, images + picture);
        View()->CollectLinkedImages(View()->m_aLinkedImages);
        for (const auto& picture : linked)
            FakeTdxControl::embed(picture);
        Fake()->modified = true; // only a changed chapter is written back
        ASSERT_TRUE(View()->SaveChapter());

        EXPECT_TRUE(QFile::exists(images + "shared.png")); // text/ch3.xhtml shows it
        EXPECT_FALSE(QFile::exists(images + "cover.png"));
        EXPECT_FALSE(QFile::exists(images + "gone.png"));
        const QStringList items = ManifestItems();
        EXPECT_TRUE(items.contains("cover|application/xhtml+xml|cover.xhtml"));
        EXPECT_TRUE(items.contains("img1|image/png|images/shared.png"));
        EXPECT_TRUE(items.filter("cover-image|").isEmpty());
        EXPECT_TRUE(items.filter("img3|").isEmpty());
    }

    // 4: a new picture gets one manifest item however often the book is saved, with an id
    // of its own.
    void NewPicturesAreListedOnce(const QString& epub)
    {
        ASSERT_NE(m_app->OpenBookFile(epub), nullptr);
        const QString picture = Work("OEBPS/images/ch2.png");
        ASSERT_TRUE(WriteTestPicture(picture));
        Fake()->addLinkedPicture(1, picture);
        Fake()->modified = true;
        for (int save = 0; save < 3; ++save)
            ASSERT_TRUE(View()->SaveChapter());
        QStringList ids, hrefs;
        for (const QString& item : ManifestItems()) {
            ids << item.section('|', 0, 0);
            hrefs << item.section('|', 2, 2);
        }
        EXPECT_EQ(hrefs.count("images/ch2.png"), 1);
        EXPECT_EQ(ids.removeDuplicates(), 0) << ids.join(' ').toStdString();
        EXPECT_TRUE(ManifestItems().contains("ch2_2|image/png|images/ch2.png"));
    }

    // 5: a write-back that fails keeps the edits in the control and packs nothing.
    void FailedWriteBackKeepsTheEdits(const QString& epub)
    {
        ASSERT_NE(m_app->OpenBookFile(epub), nullptr);
        CLindarDoc* open = Doc();
        const QString chapter = View()->m_strChapterPath;
        const QByteArray before = FileBytes(epub);
        Fake()->modified = true;
        Fake()->saveResult = false;
        Fake()->log.clear();
        m_boxes.clear();
        Frame().OnCommand(cmd::SaveBook);
        ProcessPosted();
        ASSERT_EQ(Questions().size(), 1);
        EXPECT_TRUE(Questions().at(0).contains(chapter)) << Questions().at(0).toStdString();
        EXPECT_EQ(Doc(), open); // not reopened
        EXPECT_TRUE(View()->m_bUnsaved);
        EXPECT_EQ(FileBytes(epub), before);

        // Nor does switching chapters clear the control.
        View()->OpenChapter(Work("OEBPS/ch2.xhtml"), QString());
        EXPECT_EQ(View()->m_strChapterPath, chapter);
        EXPECT_TRUE(Fake()->log.filter("clear|").isEmpty());
        EXPECT_TRUE(Fake()->log.filter("open|").isEmpty());
    }

    // 6: Yes to a save question whose save is cancelled keeps the book open.
    void CancelledSaveOnYesKeepsTheBook(const QString& epub)
    {
        m_app->OnFileNew(); // a new book: its save asks for a file name
        CLindarDoc* open = Doc();
        ASSERT_NE(open, nullptr);
        Fake()->modified = true;
        const struct {
            const char* step;
            std::function<void()> act;
        } steps[] = {
            {"close command", [&] { Frame().OnCommand(cmd::CloseWindow); }},
            {"another book", [&] { EXPECT_EQ(m_app->OpenBookFile(epub), nullptr); }},
            {"main window", [&] { EXPECT_FALSE(Frame().close()); }},
        };
        for (const auto& step : steps) {
            m_boxes.clear();
            m_boxes.enqueue(MessageResult::Yes);
            step.act(); // the save dialog gets no answer: cancelled
            EXPECT_EQ(Questions().size(), 1) << step.step;
            EXPECT_EQ(Doc(), open) << step.step;
            EXPECT_FALSE(m_app->m_bPromptAnswered) << step.step;
        }
    }

    // 7: the reopen after a save shows the chapter that was open, wherever it lies.
    void ReopenShowsTheChapterItself(const QString& epub)
    {
        ASSERT_NE(m_app->OpenBookFile(epub), nullptr);
        View()->OpenChapter(Work("text/ch2.xhtml"), QString());
        Frame().OnCommand(cmd::SaveBook);
        ProcessPosted();
        ASSERT_NE(View(), nullptr);
        EXPECT_EQ(View()->m_strChapterPath, Work("text/ch2.xhtml"));
        EXPECT_FALSE(ShowsNoChapterNotice());
    }

    // 8: the first chapter is found from a percent-encoded source, and from an NCX in
    // another folder than the package document.
    void FirstChapterOpensFromTheNcx(const QString& epub)
    {
        ASSERT_NE(m_app->OpenBookFile(epub), nullptr);
        const QString first = GetParam().book().chapters.first().fileName;
        const QString expected = QDir::cleanPath(Work("OEBPS/" + first));
        EXPECT_EQ(View()->m_strChapterPath, expected);
        EXPECT_FALSE(Fake()->log.filter("open|" + expected + "|HTML|").isEmpty());
        EXPECT_FALSE(ShowsNoChapterNotice());
    }
};

namespace {

TestBookSpec book(const QList<TestChapter>& chapters)
{
    TestBookSpec layout;
    layout.chapters = chapters;
    return layout;
}

TestBookSpec twoChapters() { return book({{"ch1.xhtml", "<p>first</p>", "One"}, {"ch2.xhtml", "<p>second</p>", "Two"}}); }

TestBookSpec pictureBook()
{
    TestBookSpec layout = book({{"ch1.xhtml", "<p>no pictures on disk</p>", "One"},
                                {"cover.xhtml", "<p>cover page</p>", "Cover"},
                                {"../text/ch3.xhtml", "<div><p><img src=\"../OEBPS/images/shared.png\"/></p></div>", "Three"}});
    layout.pictures = {"shared.png", "cover.png", "gone.png"};
    layout.pictureIds = {{"shared.png", "img1"}, {"cover.png", "cover-image"}, {"gone.png", "img3"}};
    return layout;
}

TestBookSpec encodedSources()
{
    TestBookSpec layout = book({{"content 001.xhtml", "<p>spaced</p>", "Spaced"}});
    layout.encodeHrefs = true;
    return layout;
}

TestBookSpec ncxAtTheTop()
{
    TestBookSpec layout = book({{"../text/first.xhtml", "<p>first</p>", "First"}, {"../text/second.xhtml", "", "Second"}});
    layout.ncxHref = "../toc.ncx";
    return layout;
}

const SafetyCase kCases[] = {
    {"RefusedChapterIsNeverWritten", [] { return book({{"content_001.foo", "<p>kept</p>", "Foo"}}); },
     &BookSafety::RefusedChapterIsNeverWritten},
    {"LiveHoldersKeepTheirWorkFolders", twoChapters, &BookSafety::LiveHoldersKeepTheirWorkFolders},
    {"RemovedPicturesFollowTheirHrefs", pictureBook, &BookSafety::RemovedPicturesFollowTheirHrefs},
    {"NewPicturesAreListedOnce", twoChapters, &BookSafety::NewPicturesAreListedOnce},
    {"FailedWriteBackKeepsTheEdits", twoChapters, &BookSafety::FailedWriteBackKeepsTheEdits},
    {"CancelledSaveOnYesKeepsTheBook", twoChapters, &BookSafety::CancelledSaveOnYesKeepsTheBook},
    {"ReopenShowsTheChapterItself", [] { return book({{"ch1.xhtml", "<p>one</p>", "One"}, {"../text/ch2.xhtml", "<p>two</p>", "Two"}}); },
     &BookSafety::ReopenShowsTheChapterItself},
    {"PercentEncodedSource", encodedSources, &BookSafety::FirstChapterOpensFromTheNcx},
    {"NcxInAnotherFolder", ncxAtTheTop, &BookSafety::FirstChapterOpensFromTheNcx},
};

} // namespace

TEST_P(BookSafety, Keeps)
{
    const QString epub = WriteTestBook(Scratch(""), "book.epub", GetParam().book());
    ASSERT_FALSE(epub.isEmpty());
    (this->*GetParam().run)(epub);
}

INSTANTIATE_TEST_SUITE_P(Faults, BookSafety, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SafetyCase>& info) { return std::string(info.param.name); });

// The corpus books that showed the faults, opened as a user would open them.
using CorpusBooks = FakeEditorFixture;

TEST_F(CorpusBooks, OpenTheirFirstChapterOrNone)
{
    const QString corpus = TestCorpusFolder();
    KVX_NEED_CORPUS_FILE(corpus + "/expected.json");
    const struct {
        const char* book;
        const char* chapter; // from the work folder; empty when no chapter can be opened
    } cases[] = {
        {"calibre-quickstart-fra.epub", "text/internal_titlepage.xhtml"},
        {"ec2-filename-with-space.epub", "OPS/content 001.xhtml"},
        {"gutenberg-leaves-of-grass.epub",
         "1322/@public@vhost@g@gutenberg@html@files@1322@1322-h@1322-h-0.htm_split_000.html"},
        {"ec2-unusual-extension.epub", ""},
    };
    for (const auto& c : cases) {
        const QString copy = Scratch(c.book);
        ASSERT_TRUE(QFile::copy(corpus + "/" + c.book, copy)) << c.book;
        m_boxes.clear();
        m_boxes.enqueue(MessageResult::No); // P1 once a book is open
        ASSERT_NE(m_app->OpenBookFile(copy), nullptr) << c.book;
        const QString expected = *c.chapter ? Doc()->GetWorkFolder() + "/" + c.chapter : QString();
        EXPECT_EQ(View()->m_strChapterPath, expected) << c.book;
        if (!expected.isEmpty())
            EXPECT_TRUE(QFileInfo(expected).isFile()) << c.book;
    }
    // The chapter that was never opened is saved as it was.
    const QByteArray before = ReadMember(Scratch("ec2-unusual-extension.epub"), "OPS/content_001.foo");
    Frame().OnCommand(cmd::SaveBook);
    ProcessPosted();
    EXPECT_EQ(ReadMember(Scratch("ec2-unusual-extension.epub"), "OPS/content_001.foo"), before);
    EXPECT_FALSE(before.isEmpty());
}
