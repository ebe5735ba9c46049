// A chapter added, a bookmark inserted and a chapter deleted, then the book saved: the
// saved package (manifest, spine, guide, NCX) names only files that are in it.
// With KVX_STRUCTURE_EDITS_OUT the saved books are kept there for
// scripts/epubcheck-structure-edits.sh.
#include "EditorFixture.h"

#include "editor/BookPanes.h"
#include "panes/PaneCommandIds.h"
#include "platform/testsupport/TestCorpus.h"
#include "platform/ui/QtTreeControl.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

using platform::DialogAnswer;
using platform::MessageResult;
using platform::QtTreeControl;
using platform::TreeItem;

namespace {

QStringList members(const QString& epub)
{
    QProcess unzip;
    unzip.start("unzip", {"-Z1", epub});
    unzip.waitForFinished(30000);
    return QString::fromUtf8(unzip.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

QString folderOf(const QString& member) { return member.left(member.lastIndexOf('/') + 1); }

QString memberOf(const QString& folder, const QString& href)
{
    const QString file = QUrl::fromPercentEncoding(href.section('#', 0, 0).toUtf8());
    return QDir::cleanPath(folder + file);
}

// Every manifest item, spine itemref and NCX target of the saved book, checked.
void expectWhole(const QString& epub)
{
    SCOPED_TRACE(epub.toStdString());
    const QStringList listed = members(epub);
    const QSet<QString> files(listed.begin(), listed.end());
    const QString container = QString::fromUtf8(ReadMember(epub, "META-INF/container.xml"));
    const QString opfPath = QRegularExpression("full-path=\"([^\"]+)\"").match(container).captured(1);
    const QString opf = QString::fromUtf8(ReadMember(epub, opfPath));
    ASSERT_FALSE(opf.isEmpty());
    QSet<QString> ids;
    QString ncxHref;
    static const QRegularExpression item("<(?:\\w+:)?item\\b[^>]*>");
    for (const auto& match : item.globalMatch(opf)) {
        const QString tag = match.captured(0);
        const QString id = QRegularExpression("\\bid=\"([^\"]*)\"").match(tag).captured(1);
        const QString href = QRegularExpression("\\bhref=\"([^\"]*)\"").match(tag).captured(1);
        EXPECT_FALSE(ids.contains(id)) << "id twice: " << id.toStdString();
        ids.insert(id);
        EXPECT_TRUE(files.contains(memberOf(folderOf(opfPath), href))) << "manifest names a missing file: " << href.toStdString();
        if (tag.contains("application/x-dtbncx+xml"))
            ncxHref = href;
    }
    static const QRegularExpression itemref("<(?:\\w+:)?itemref\\b[^>]*idref=\"([^\"]*)\"");
    for (const auto& match : itemref.globalMatch(opf))
        EXPECT_TRUE(ids.contains(match.captured(1))) << "spine names no item: " << match.captured(1).toStdString();
    static const QRegularExpression reference("<(?:\\w+:)?reference\\b[^>]*href=\"([^\"]*)\"");
    for (const auto& match : reference.globalMatch(opf))
        EXPECT_TRUE(files.contains(memberOf(folderOf(opfPath), match.captured(1))))
            << "guide names a missing file: " << match.captured(1).toStdString();
    ASSERT_FALSE(ncxHref.isEmpty());
    const QString ncxMember = memberOf(folderOf(opfPath), ncxHref);
    const QString ncx = QString::fromUtf8(ReadMember(epub, ncxMember));
    static const QRegularExpression content("<(?:\\w+:)?content\\b[^>]*src=\"([^\"]*)\"");
    for (const auto& match : content.globalMatch(ncx))
        EXPECT_TRUE(files.contains(memberOf(folderOf(ncxMember), match.captured(1))))
            << "NCX names a missing file: " << match.captured(1).toStdString();
}

} // namespace

class StructureEdits : public EditorFixture {
protected:
    QtTreeControl& Tree() const { return *Frame().Panes().NavigationTree(); }

    // Whether a chapter of the book other than `file` mentions `file`'s name (links to it).
    bool LinkedFromAnotherChapter(const QString& file) const
    {
        const QString name = QFileInfo(file).fileName();
        QDirIterator it(Doc()->GetWorkFolder(), {"*.xhtml", "*.html", "*.htm"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString other = it.next();
            QFile chapter(other);
            if (QFileInfo(other).fileName() != name && chapter.open(QIODevice::ReadOnly)
                && chapter.readAll().contains(name.toUtf8()))
                return true;
        }
        return false;
    }

    // The last top-level entry that may be deleted: a chapter without sub-entries that no
    // other entry points into. Deleting a chapter that other chapters link to leaves their
    // links dangling, as it would in any book; the check is about what the commands write.
    TreeItem DeletableContent() const
    {
        TreeItem found = nullptr;
        const TreeItem title = Tree().GetRootItem();
        for (TreeItem entry = Tree().GetChildItem(title); entry; entry = Tree().GetNextSiblingItem(entry)) {
            const TreeItem content = Tree().GetChildItem(entry);
            if (!content || Tree().GetItemImage(content) != 2 || Tree().GetNextSiblingItem(content)
                || Tree().GetItemText(content).contains('#'))
                continue;
            const QString file = Tree().GetItemText(content);
            int users = 0;
            for (TreeItem other = Tree().GetChildItem(title); other; other = Tree().GetNextSiblingItem(other))
                if (const TreeItem c = Tree().GetChildItem(other); c && Tree().GetItemText(c).section('#', 0, 0) == file)
                    ++users;
            if (users == 1 && !LinkedFromAnotherChapter(file))
                found = content;
        }
        return found;
    }

    void EditAndSave(const QString& book, const QString& out)
    {
        SCOPED_TRACE(book.toStdString());
        m_boxes.enqueue(MessageResult::No); // the style question, and a book open before
        m_boxes.enqueue(MessageResult::No);
        ASSERT_NE(m_app->OpenBookFile(book), nullptr);
        QCoreApplication::processEvents();
        m_boxes.clear();
        const TreeItem first = Tree().GetChildItem(Tree().GetRootItem());
        ASSERT_NE(first, nullptr);
        const TreeItem doomed = DeletableContent();
        ASSERT_NE(doomed, nullptr) << "no chapter to delete";
        const QString doomedText = Tree().GetItemText(doomed);

        Tree().SelectItem(first);
        m_modal.enqueue(DialogAnswer::Press("확인", {{"contentsLabel", "새 장"}}));
        Frame().OnPaneCommand(panecmd::AddChapterButton);
        ASSERT_TRUE(Tree().GetItemText(Tree().GetSelectedItem()) == "새 장");

        m_boxes.enqueue(MessageResult::Yes);
        m_modal.enqueue(DialogAnswer::Press("확인", {{"bookmarkLabel", "새 북마크"}}));
        Frame().OnPaneCommand(panecmd::InsertBookmarkButton);
        ASSERT_TRUE(Tree().GetItemText(Tree().GetSelectedItem()) == "새 북마크");

        Tree().SelectItem(DeletableContent() == doomed ? doomed : DeletableContent());
        ASSERT_EQ(Tree().GetItemText(Tree().GetSelectedItem()), doomedText);
        m_boxes.enqueue(MessageResult::Yes);
        Frame().OnPaneCommand(panecmd::DeleteContent);

        ASSERT_TRUE(Doc()->DoSave(out));
        ProcessPosted();
        expectWhole(out);
        const QString keep = qEnvironmentVariable("KVX_STRUCTURE_EDITS_OUT");
        if (!keep.isEmpty()) {
            // NAME.before.epub and NAME.after.epub, for epubcheck to compare.
            const QString base = keep + '/' + QFileInfo(book).completeBaseName();
            QFile::remove(base + ".before.epub");
            QFile::remove(base + ".after.epub");
            QFile::copy(book, base + ".before.epub");
            QFile::copy(out, base + ".after.epub");
        }
    }
};

TEST_F(StructureEdits, SavedBooksNameOnlyTheirOwnFiles)
{
    TestBookSpec layout;
    layout.chapters = {{"a.xhtml", "<p>a</p>", "A"}, {"b.xhtml", "<p>b</p>", "B"}, {"c.xhtml", "<p>c</p>", "C"}};
    EditAndSave(WriteTestBook(Scratch(""), "small.epub", layout), Scratch("small-out.epub"));

    const QString corpus = TestCorpusFolder();
    if (!QFileInfo(corpus).isDir())
        GTEST_SKIP() << "no corpus at " << corpus.toStdString();
    for (const char* name : {"calibre-quickstart-eng.epub", "epublib-testbook1.epub", "pressbooks-metamorphosis.epub"})
        EditAndSave(corpus + '/' + name, Scratch(QString(name) + "-out.epub"));
}
