// The chapter, bookmark and source commands on small books, with the dialogs and the
// questions answered by script.
#include "EditorFixture.h"
#include "FakeTdxControl.h"
#include "NavigationTreeText.h"

#include "editor/BookPanes.h"
#include "editor/ChapterCommands.h"
#include "panes/PaneCommandIds.h"
#include "platform/ui/QtTreeControl.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

using platform::DialogAnswer;
using platform::MessageResult;
using platform::QtTreeControl;
using platform::TreeItem;
using navtest::findItem;
using navtest::navPoint;
using navtest::shape;

namespace {


QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

const QString kNested = navPoint("A", "a.xhtml", navPoint("A1", "a.xhtml#1") + navPoint("A2", "a.xhtml#2"))
    + navPoint("B", "b.xhtml") + navPoint("C", "c.xhtml");

} // namespace

class ChapterCommands : public FakeEditorFixture {
protected:
    void OpenBook(const std::optional<QString>& navMap, const QString& name = "book.epub")
    {
        m_boxes.enqueue(MessageResult::No); // a book open before is not saved
        TestBookSpec layout;
        layout.chapters = {{"a.xhtml", "<p>a</p>", "A"}, {"b.xhtml", "<p>b</p>", "B"}, {"c.xhtml", "<p>c</p>", "C"}};
        layout.navMap = navMap;
        ASSERT_NE(m_app->OpenBookFile(WriteTestBook(Scratch(""), name, layout)), nullptr);
        QCoreApplication::processEvents();
        m_boxes.clear();
    }

    QtTreeControl& Tree() const { return *Frame().Panes().NavigationTree(); }
    QString Shape() const { return shape(Tree(), Tree().GetRootItem()); }
    void Select(const QString& text) const
    {
        const TreeItem item = findItem(Tree(), text, Tree().GetRootItem());
        ASSERT_NE(item, nullptr) << text.toStdString();
        Tree().SelectItem(item);
    }
    // The spine tree as "idref|file" lines.
    QStringList SpineItems() const
    {
        const QtTreeControl& tree = *Frame().Panes().SpineTree();
        QStringList out;
        for (TreeItem item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item))
            out << tree.GetItemText(item) + "|" + tree.GetItemText(tree.GetNextSiblingItem(tree.GetChildItem(item)));
        return out;
    }
    QString Folder() const { return Doc()->GetPackageFolder(); }
    QStringList BookmarkActions() const
    {
        QStringList out;
        for (const auto& run : Fake()->executed)
            if (run.action == "Bookmark" && run.set->item("Command").toInt() != 1) // 1 only moves there
                out << run.set->item("Name").toString() + "/" + run.set->item("Command").toString();
        return out;
    }
    void AddBookmark(const QString& label)
    {
        m_boxes.enqueue(MessageResult::Yes);
        m_modal.enqueue(DialogAnswer::Press(QString(), {{"bookmarkLabel", label}}));
        Frame().OnPaneCommand(panecmd::InsertBookmarkButton);
    }
};

TEST_F(ChapterCommands, AddingToAnEmptyTableOfContentsRemovesTheNotice)
{
    OpenBook(QString());
    ASSERT_EQ(Shape(), "Test Book[navigation 정보가 없습니다.]");
    Select("navigation 정보가 없습니다.");
    m_modal.enqueue(DialogAnswer::Press("확인", {{"contentsLabel", "서문"}}));
    Frame().OnPaneCommand(panecmd::AddChapter);

    EXPECT_EQ(Shape(), "Test Book[서문[=content000.xhtml]]");
    ASSERT_EQ(m_modal.asked().size(), 1);
    EXPECT_EQ(m_modal.asked().first().name, "CAddContentsDlg");
    EXPECT_TRUE(QFileInfo(Folder() + "content000.xhtml").isFile());
    EXPECT_EQ(ManifestItems().last(), "content000|application/xhtml+xml|content000.xhtml");
    EXPECT_EQ(SpineItems().last(), "content000|content000.xhtml");
    // Written at once, and the view shows the new chapter.
    EXPECT_TRUE(readFile(Doc()->GetNCXPath()).contains("content000.xhtml"));
    EXPECT_TRUE(readFile(Doc()->GetPackagePath()).contains("idref=\"content000\""));
    EXPECT_EQ(View()->m_strChapterPath, Folder() + "content000.xhtml");
}

TEST_F(ChapterCommands, AddingPlacesTheChapterAfterItsAnchor)
{
    const struct {
        const char* selected;
        const char* fileName;
        const char* shape;
        const char* manifestId;
    } cases[] = {
        // After a bookmark entry: one level up, after the bookmark's chapter.
        {"A1", "content000", "Test Book[A[=a.xhtml A1[=a.xhtml#1] A2[=a.xhtml#2]] N[=content000.xhtml] B[=b.xhtml] C[=c.xhtml]]",
         "content000"},
        // A typed extension gives way to .xhtml.
        {"b.xhtml", "intro.htm", "Test Book[A[=a.xhtml A1[=a.xhtml#1] A2[=a.xhtml#2]] B[=b.xhtml] N[=intro.xhtml] C[=c.xhtml]]",
         "intro"},
    };
    for (const auto& c : cases) {
        OpenBook(kNested, QString(c.manifestId) + ".epub");
        Select(c.selected);
        ASSERT_TRUE(Doc()->AddChapterFile("N", c.fileName));
        EXPECT_EQ(Shape(), c.shape);
        const QString id = c.manifestId;
        // The manifest and the reading order take it right after the anchor's chapter.
        const QStringList manifest = ManifestItems();
        const int at = int(manifest.indexOf(id + "|application/xhtml+xml|" + id + ".xhtml"));
        ASSERT_GT(at, 0) << manifest.join(", ").toStdString();
        const QString before = manifest.at(at - 1);
        EXPECT_TRUE(before.endsWith(QString(c.selected) == "A1" ? "a.xhtml" : "b.xhtml")) << before.toStdString();
        const QStringList spine = SpineItems();
        const int ref = int(spine.indexOf(id + "|" + id + ".xhtml"));
        ASSERT_GT(ref, 0);
        EXPECT_TRUE(spine.at(ref - 1).endsWith(QString(c.selected) == "A1" ? "a.xhtml" : "b.xhtml"));
    }
}

TEST_F(ChapterCommands, AnExistingChapterIsNeverWrittenOver)
{
    OpenBook(kNested);
    const QString before = readFile(Folder() + "b.xhtml");
    Select("C");
    EXPECT_FALSE(Doc()->AddChapterFile("again", "b.htm"));
    EXPECT_EQ(readFile(Folder() + "b.xhtml"), before);
    EXPECT_FALSE(Shape().contains("again"));
}

TEST_F(ChapterCommands, BookmarkNamesTakeTheFirstFreeNumber)
{
    OpenBook(kNested);
    Select("B");
    AddBookmark("첫째");
    Select("B");
    AddBookmark("둘째");
    EXPECT_EQ(Shape(), "Test Book[A[=a.xhtml A1[=a.xhtml#1] A2[=a.xhtml#2]] B[=b.xhtml 첫째[=b.xhtml#b1] 둘째[=b.xhtml#b2]] C[=c.xhtml]]");
    EXPECT_EQ(Questions().first(), "현재 커서위치에 북마크를 삽입하시겠습니까?");

    Select("b.xhtml#b1");
    m_boxes.enqueue(MessageResult::Yes);
    Frame().OnPaneCommand(panecmd::DeleteContent);
    EXPECT_FALSE(Shape().contains("첫째"));
    Select("B");
    AddBookmark("셋째");
    EXPECT_TRUE(Shape().contains("셋째[=b.xhtml#b1]"));
    EXPECT_EQ(BookmarkActions(), QStringList({"b1/0", "b2/0", "b1/3", "b1/0"}));

    // No at the question, or Cancel in the dialog: nothing happens.
    const QString shape = Shape();
    m_boxes.enqueue(MessageResult::No);
    Frame().OnPaneCommand(panecmd::InsertBookmark);
    m_boxes.enqueue(MessageResult::Yes);
    m_modal.enqueue(DialogAnswer::Cancel());
    Frame().OnCommand(32799);
    EXPECT_EQ(Shape(), shape);
    EXPECT_EQ(BookmarkActions().size(), 4);
}

TEST_F(ChapterCommands, DeletingAChapterWithSubEntriesIsRefused)
{
    OpenBook(kNested);
    Select("a.xhtml");
    Frame().OnPaneCommand(panecmd::DeleteContent);
    EXPECT_EQ(Questions(), QStringList({"하위 컨텐츠를 먼저 삭제해야 합니다."}));
    EXPECT_TRUE(Shape().startsWith("Test Book[A[=a.xhtml"));
    EXPECT_TRUE(QFileInfo::exists(Folder() + "a.xhtml"));
}

TEST_F(ChapterCommands, DeletingAChapterRemovesItEverywhereAtOnce)
{
    OpenBook(kNested);
    Select("b.xhtml");
    m_boxes.enqueue(MessageResult::No);
    Frame().OnPaneCommand(panecmd::DeleteContent);
    EXPECT_TRUE(QFileInfo::exists(Folder() + "b.xhtml")) << "No keeps it";

    Select("b.xhtml");
    m_boxes.enqueue(MessageResult::Yes);
    Frame().OnPaneCommand(panecmd::DeleteContent);
    EXPECT_EQ(Questions().last(), "컨텐츠 파일을 삭제 하시겠습니까?");
    EXPECT_EQ(Shape(), "Test Book[A[=a.xhtml A1[=a.xhtml#1] A2[=a.xhtml#2]] C[=c.xhtml]]");
    EXPECT_FALSE(ManifestItems().join(",").contains("b.xhtml"));
    EXPECT_FALSE(SpineItems().join(",").contains("b.xhtml"));
    EXPECT_FALSE(QFileInfo::exists(Folder() + "b.xhtml"));
    EXPECT_FALSE(readFile(Doc()->GetNCXPath()).contains("b.xhtml"));
    EXPECT_FALSE(readFile(Doc()->GetPackagePath()).contains("b.xhtml"));
    EXPECT_TRUE(readFile(Doc()->GetPackagePath()).contains("c.xhtml"));
}

TEST_F(ChapterCommands, AChapterAnotherEntryStillNamesStaysInTheBook)
{
    OpenBook(navPoint("A", "a.xhtml") + navPoint("B", "b.xhtml") + navPoint("Later in B", "b.xhtml#x"));
    Select("b.xhtml");
    m_boxes.enqueue(MessageResult::Yes);
    Frame().OnPaneCommand(panecmd::DeleteContent);
    EXPECT_EQ(Shape(), "Test Book[A[=a.xhtml] Later in B[=b.xhtml#x]]");
    EXPECT_TRUE(QFileInfo::exists(Folder() + "b.xhtml"));
    EXPECT_TRUE(ManifestItems().join(",").contains("b.xhtml"));
}

TEST_F(ChapterCommands, SourceCommandsShowTheirFileUnderTheirTitle)
{
    OpenBook(kNested);
    const struct {
        int id;
        bool fromPane;
        const char* selected;
        QString path;
        const char* title;
    } cases[] = {
        {32778, false, "B", Doc()->GetPackagePath(), "출판정보 소스보기"},
        {32780, false, "B", Doc()->GetNCXPath(), "목차정보 소스보기"},
        {32781, false, "B", Folder() + "b.xhtml", "본문 소스보기"},
        {32837, false, "B", Folder() + "b.xhtml", "XHTML파일 소스보기"},
        {panecmd::ShowSource, true, "a.xhtml#2", Folder() + "a.xhtml", "소스보기"},
        {panecmd::ShowSource, true, "B", Doc()->GetNCXPath(), "목차정보 소스보기"},
    };
    for (const auto& c : cases) {
        m_modal.clear();
        Select(c.selected);
        if (c.fromPane)
            Frame().OnPaneCommand(c.id);
        else
            Frame().OnCommand(c.id);
        ASSERT_EQ(m_modal.asked().size(), 1) << c.id;
        EXPECT_EQ(m_modal.asked().first().name, "CSrcShowDlg");
        EXPECT_EQ(m_modal.asked().first().title, c.title);
        EXPECT_EQ(m_modal.asked().first().properties.value("filePath").toString(), c.path);
    }
    EXPECT_FALSE(RunChapterCommand(32795, *Doc())) << "insert file is not a chapter command";
}
