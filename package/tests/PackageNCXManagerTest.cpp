#include "package/PackageNCXManager.h"

#include "MetadataTestSupport.h"
#include "platform/controls/MemoryTree.h"

#include <gtest/gtest.h>

using namespace testsupport;
using platform::TreeItem;

namespace {

QByteArray ncx(const QByteArray& navMap, const QByteArray& rootAttributes = "",
               const QByteArray& head = "<docTitle><text>T</text></docTitle><docAuthor><text>A</text></docAuthor>")
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" "
        + rootAttributes + " version=\"2005-1\"><head/>" + head + navMap + "</ncx>";
}

QByteArray point(const char* id, const char* order, const char* label, const char* src,
                 const QByteArray& children = "")
{
    return QByteArray("<navPoint id=\"") + id + "\" playOrder=\"" + order + "\"><navLabel><text>" + label
        + "</text></navLabel><content src=\"" + src + "\"/>" + children + "</navPoint>";
}

// The tree as "text:image" lines, indented by depth.
void dump(const platform::TreeControl& tree, TreeItem item, int depth, QStringList& out)
{
    for (; item; item = tree.GetNextSiblingItem(item)) {
        out << QString(depth * 2, ' ') + tree.GetItemText(item) + ":" + QString::number(tree.GetItemImage(item));
        dump(tree, tree.GetChildItem(item), depth + 1, out);
    }
}

class NcxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        BuildGrid(grid);
        grid.SetRowValue(0, 0, QStringLiteral("Book"));
        manager.SetMetadataGrid(&grid);
        manager.SetNavigationTree(&tree);
        path = dir.filePath(QStringLiteral("toc.ncx"));
    }
    bool load(const QByteArray& bytes)
    {
        EXPECT_TRUE(WriteFile(path, bytes));
        return manager.LoadNcx(dir.path() + "/", path);
    }
    QStringList shown() const
    {
        QStringList out;
        dump(tree, tree.GetRootItem(), 0, out);
        return out;
    }
    // Saves, then loads the written file into a fresh tree.
    QStringList saveAndReload()
    {
        EXPECT_TRUE(manager.SaveDocTitleAndAuthor());
        EXPECT_TRUE(manager.SaveNavMap());
        tree.DeleteAllItems();
        CPackageNCXManager again;
        again.SetMetadataGrid(&grid);
        again.SetNavigationTree(&tree);
        EXPECT_TRUE(again.LoadNcx(dir.path() + "/", path));
        return shown();
    }

    QTemporaryDir dir;
    QString path;
    platform::MemoryGrid grid;
    platform::MemoryTree tree;
    CPackageNCXManager manager;
};

} // namespace

TEST_F(NcxTest, NestedPointsBecomeNestedEntriesWithContentFirst)
{
    ASSERT_TRUE(load(ncx("<navMap>" + point("a", "1", "A", "a.xhtml",
        "<navInfo><text>skip</text></navInfo>" + point("a1", "2", "A1", "a.xhtml#1") + point("a2", "3", "A2", "a.xhtml#2"))
        + "<NAVPOINT id=\"b\" playOrder=\"4\"><navLabel><audio src=\"x.mp3\"/><text>B</text></navLabel><content src=\"b.xhtml\"/></NAVPOINT>"
        + "<navPoint playOrder=\"5\"><navLabel><text>C</text></navLabel><content src=\"c.xhtml\"/></navPoint>"
        + "</navMap>")));
    EXPECT_EQ(shown(), (QStringList{"Book:0", "  A:1", "    a.xhtml:2", "    A1:1", "      a.xhtml#1:2",
                                    "    A2:1", "      a.xhtml#2:2", "  B:1", "    b.xhtml:2", "  C:1", "    c.xhtml:2"}));
    QString id;
    EXPECT_EQ(manager.GetFirstPlayOrderSource(id), QStringLiteral("a.xhtml"));
    EXPECT_EQ(id, QStringLiteral("a"));
}

TEST_F(NcxTest, FirstSourceNeedsPlayOrderOneWithAnId)
{
    const struct {
        QByteArray navMap;
        const char* id;
        const char* source;
    } cases[] = {
        {"<navMap>" + point("z", "0", "Z", "z.xhtml") + point("y", "2", "Y", "y.xhtml") + "</navMap>", "", ""},
        // One attribute only: shown, but not entered in the play-order table.
        {"<navMap><navPoint playOrder=\"1\"><navLabel><text>N</text></navLabel><content src=\"n.xhtml\"/></navPoint></navMap>", "", ""},
        // A later point with the same playOrder takes its place.
        {"<navMap>" + point("p", "1", "P", "p.xhtml") + point("q", "1", "Q", "q.xhtml") + "</navMap>", "q", "q.xhtml"},
    };
    for (const auto& c : cases) {
        tree.DeleteAllItems();
        CPackageNCXManager fresh;
        fresh.SetMetadataGrid(&grid);
        fresh.SetNavigationTree(&tree);
        ASSERT_TRUE(WriteFile(path, ncx(c.navMap)));
        ASSERT_TRUE(fresh.LoadNcx(dir.path() + "/", path));
        QString id = "unset";
        EXPECT_EQ(fresh.GetFirstPlayOrderSource(id), QString::fromLatin1(c.source)) << c.navMap.constData();
        EXPECT_EQ(id, QString::fromLatin1(c.id));
    }
}

TEST_F(NcxTest, TitleNoticeAndPrefixCases)
{
    const struct {
        QByteArray file;
        QStringList tree;
    } cases[] = {
        {ncx("<navMap/>"), {"Book:0", QStringLiteral("  navigation 정보가 없습니다.:3")}},
        {ncx("<navMap>\n</navMap>"), {"Book:0"}},
        // A declared prefix counts only where the root itself is written with it.
        {ncx("<navMap>" + point("a", "1", "A", "a.xhtml") + "</navMap>", "xmlns:ncx=\"http://www.daisy.org/z3986/2005/ncx/\""),
         {"Book:0", "  A:1", "    a.xhtml:2"}},
        {ncx("<navMap>" + point("a", "1", "A", "a.xhtml") + "</navMap>", "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""),
         {"Book:0", "  A:1", "    a.xhtml:2"}},
        {"<ncx:ncx xmlns:ncx=\"http://www.daisy.org/z3986/2005/ncx/\"><ncx:navMap><ncx:navPoint ncx:id=\"a\" ncx:playOrder=\"1\">"
         "<ncx:navLabel><ncx:text>A</ncx:text></ncx:navLabel><ncx:content ncx:src=\"a.xhtml\"/></ncx:navPoint></ncx:navMap></ncx:ncx>",
         {"Book:0", "  A:1", "    a.xhtml:2"}},
    };
    for (const auto& c : cases) {
        tree.DeleteAllItems();
        ASSERT_TRUE(load(c.file));
        EXPECT_EQ(shown(), c.tree) << c.file.constData();
    }
    EXPECT_FALSE(load("<ncx><navMap>"));
}

TEST_F(NcxTest, UnchangedTreeKeepsTheFileAndChangesRenumberOverTheWholeNcx)
{
    const QByteArray file = ncx("<navMap>" + point("x9", "7", "A", "a.xhtml", point("x3", "9", "A1", "a1.xhtml") + point("x1", "8", "A2", "a2.xhtml"))
                                + point("x2", "1", "B", "b.xhtml") + "</navMap>"
                                "<pageList><pageTarget id=\"p\" type=\"normal\" value=\"1\" playOrder=\"8\"><navLabel><text>1</text></navLabel>"
                                "<content src=\"a2.xhtml\"/></pageTarget></pageList>");
    ASSERT_TRUE(load(file));
    const QStringList before = shown();
    EXPECT_EQ(saveAndReload(), before);
    // The writer ends the file with a line break, and writes one blank between attributes.
    EXPECT_EQ(ReadFile(path).trimmed().toStdString(), QByteArray(file).replace("  version", " version").toStdString());

    // An entry added at the end: every point keeps its id, and playOrder follows the tree,
    // with the page target after the point it followed.
    tree.DeleteAllItems();
    ASSERT_TRUE(load(file));
    const TreeItem c = tree.InsertItem("C", CPackageNCXManager::NAV_ENTRY, tree.GetRootItem());
    tree.InsertItem("c.xhtml", CPackageNCXManager::NAV_CONTENT, c);
    ASSERT_TRUE(manager.SaveNavMap());
    CXmlDocument written;
    ASSERT_TRUE(written.Parse(path));
    QStringList points;
    for (const CXmlNode& p : written.GetDocumentElement().GetElementsByTagName("navPoint"))
        points << p.GetAttribute("id") + "/" + p.GetAttribute("playOrder") + "/" + p.GetElementsByTagName("text").first().GetTextContent();
    EXPECT_EQ(points, (QStringList{"x9/1/A", "x3/2/A1", "x1/3/A2", "x2/5/B", "navPoint-1/6/C"}));
    EXPECT_EQ(written.GetDocumentElement().GetElementsByTagName("pageTarget").first().GetAttribute("playOrder"), QStringLiteral("4"));
}

TEST_F(NcxTest, TitleAndAuthorComeFromTheGrid)
{
    ASSERT_TRUE(load(ncx("<navMap/>", "", "<docTitle><text>Old</text></docTitle>")));
    grid.SetRowValue(0, grid.FindRow(0, QStringLiteral("저자")), QStringLiteral("Writer"));
    grid.SetRowValue(0, 0, QStringLiteral("New title"));
    ASSERT_TRUE(manager.SaveDocTitleAndAuthor());
    CXmlDocument written;
    ASSERT_TRUE(written.Parse(path));
    const CXmlNode root = written.GetDocumentElement();
    EXPECT_EQ(root.GetElementsByTagName("docTitle").first().GetTextContent(), QStringLiteral("New title"));
    // A missing docAuthor is made where the schema wants it: after docTitle, before navMap.
    const CXmlNodeList authors = root.GetElementsByTagName("docAuthor");
    ASSERT_EQ(authors.size(), 1);
    EXPECT_EQ(authors.first().GetTextContent(), QStringLiteral("Writer"));
    EXPECT_EQ(authors.first().GetNextSiblingElement().GetName(), QStringLiteral("navMap"));
    EXPECT_EQ(tree.GetItemText(tree.GetRootItem()), QStringLiteral("Book")); // the tree keeps its title
}

TEST_F(NcxTest, NoticeIsNeverWrittenAsAnEntry)
{
    ASSERT_TRUE(load(ncx("<navMap/>")));
    EXPECT_EQ(saveAndReload(), (QStringList{"Book:0", QStringLiteral("  navigation 정보가 없습니다.:3")}));
    // A notice left beside real entries is skipped too.
    tree.InsertItem("New", CPackageNCXManager::NAV_ENTRY, tree.GetRootItem());
    ASSERT_TRUE(manager.SaveNavMap());
    CXmlDocument written;
    ASSERT_TRUE(written.Parse(path));
    EXPECT_EQ(written.GetDocumentElement().GetElementsByTagName("navPoint").size(), 1);
}

TEST_F(NcxTest, MissingNavMapIsCreatedSoEntriesAreKept)
{
    const QByteArray withAuthor = ncx("", "", "<docTitle><text>T</text></docTitle><docAuthor><text>A</text></docAuthor><pageList/>");
    const QByteArray withoutAuthor = ncx("", "", "<docTitle><text>T</text></docTitle>");
    for (const QByteArray& file : {withAuthor, withoutAuthor}) {
        tree.DeleteAllItems();
        ASSERT_TRUE(load(file));
        TreeItem entry = tree.InsertItem("A", CPackageNCXManager::NAV_ENTRY, tree.InsertItem("Book", 0));
        tree.InsertItem("a.xhtml", CPackageNCXManager::NAV_CONTENT, entry);
        ASSERT_TRUE(manager.SaveNavMap());
        CXmlDocument written;
        ASSERT_TRUE(written.Parse(path));
        const CXmlNode navMap = written.GetDocumentElement().GetElementsByTagName("navMap").first();
        const CXmlNodeList siblings = navMap.GetParent().GetChildNodes();
        EXPECT_EQ(siblings.at(siblings.indexOf(navMap) - 1).GetName(),
                  QString(file == withAuthor ? "docAuthor" : "docTitle"));
        EXPECT_EQ(saveAndReload(), (QStringList{"Book:0", "  A:1", "    a.xhtml:2"}));
    }
}

TEST_F(NcxTest, BookWithoutTitleKeepsItsEntriesOnSave)
{
    grid.SetRowValue(0, 0, QString());
    ASSERT_TRUE(load(ncx("<navMap>" + point("a", "1", "A", "a.xhtml", point("b", "2", "A1", "b.xhtml")) + point("c", "3", "C", "c.xhtml") + "</navMap>")));
    const QStringList expected{"A:1", "  a.xhtml:2", "  A1:1", "    b.xhtml:2", "C:1", "  c.xhtml:2"};
    EXPECT_EQ(shown(), expected);
    EXPECT_EQ(saveAndReload(), expected);
}

TEST_F(NcxTest, DeepNestingLoadsAndSaves)
{
    const int depth = 2000;
    QByteArray body;
    for (int i = 0; i < depth; ++i)
        body += "<navPoint id=\"p" + QByteArray::number(i) + "\" playOrder=\"" + QByteArray::number(i + 1)
            + "\"><navLabel><text>L</text></navLabel><content src=\"c.xhtml\"/>";
    for (int i = 0; i < depth; ++i)
        body += "</navPoint>";
    ASSERT_TRUE(load(ncx("<navMap>" + body + "</navMap>")));
    EXPECT_EQ(tree.GetCount(), 1 + 2 * depth);
    EXPECT_EQ(saveAndReload().size(), 1 + 2 * depth);
}

TEST_F(NcxTest, PrefixedFileStaysPrefixedOnSave)
{
    ASSERT_TRUE(load("<ncx:ncx xmlns:ncx=\"http://www.daisy.org/z3986/2005/ncx/\"><ncx:navMap>"
                     "<ncx:navPoint ncx:id=\"a\" ncx:playOrder=\"1\"><ncx:navLabel><ncx:text>A</ncx:text></ncx:navLabel>"
                     "<ncx:content ncx:src=\"a.xhtml\"/></ncx:navPoint></ncx:navMap></ncx:ncx>"));
    const QStringList before = shown();
    tree.InsertItem("B", CPackageNCXManager::NAV_ENTRY, tree.GetRootItem());
    grid.SetRowValue(0, 0, QStringLiteral("Book 2"));
    ASSERT_TRUE(manager.SaveDocTitleAndAuthor());
    ASSERT_TRUE(manager.SaveNavMap());
    const QByteArray written = ReadFile(path);
    EXPECT_TRUE(written.contains("<ncx:navPoint ncx:id=\"navPoint-1\" ncx:playOrder=\"2\"><ncx:navLabel><ncx:text>B</ncx:text>"))
        << written.constData();
    EXPECT_TRUE(written.contains("<ncx:docTitle><ncx:text>Book 2</ncx:text></ncx:docTitle><ncx:navMap>")) << written.constData();
    EXPECT_FALSE(written.contains("<navPoint"));
}

// Prefixed elements with plain attributes are correct XML (unprefixed attributes are in no
// namespace) and common; files that prefix their attributes as well are read the same way.
// Either way the sources are shown, found for the first document, and written back as
// the file wrote them, so that a save never drops them.
TEST_F(NcxTest, AttributesAreReadAndWrittenAsTheFileWritesThem)
{
    const struct {
        const char* attributePrefix;
    } cases[] = {{""}, {"ncx:"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attributePrefix);
        const QByteArray a = c.attributePrefix;
        tree.DeleteAllItems();
        CPackageNCXManager fresh;
        fresh.SetMetadataGrid(&grid);
        fresh.SetNavigationTree(&tree);
        ASSERT_TRUE(WriteFile(path,
            "<ncx:ncx xmlns:ncx=\"http://www.daisy.org/z3986/2005/ncx/\"><ncx:navMap>"
            "<ncx:navPoint " + a + "id=\"a\" " + a + "playOrder=\"1\"><ncx:navLabel><ncx:text>A</ncx:text></ncx:navLabel>"
            "<ncx:content " + a + "src=\"a.xhtml\"/><ncx:navPoint " + a + "id=\"b\" " + a + "playOrder=\"2\">"
            "<ncx:navLabel><ncx:text>B</ncx:text></ncx:navLabel><ncx:content " + a + "src=\"b.xhtml#x\"/>"
            "</ncx:navPoint></ncx:navPoint></ncx:navMap></ncx:ncx>"));
        ASSERT_TRUE(fresh.LoadNcx(dir.path() + "/", path));
        const QStringList expected = {"Book:0", "  A:1", "    a.xhtml:2", "    B:1", "      b.xhtml#x:2"};
        EXPECT_EQ(shown(), expected);
        QString id;
        EXPECT_EQ(fresh.GetFirstPlayOrderSource(id), QStringLiteral("a.xhtml"));
        EXPECT_EQ(id, QStringLiteral("a"));

        // A changed label is written into its point, which keeps its attributes as written.
        tree.SetItemText(tree.GetChildItem(tree.GetRootItem()), QStringLiteral("A!"));
        ASSERT_TRUE(fresh.SaveNavMap());
        const QByteArray written = ReadFile(path);
        EXPECT_TRUE(written.contains("<ncx:navPoint " + a + "id=\"b\" " + a + "playOrder=\"2\">")) << written.constData();
        EXPECT_TRUE(written.contains("<ncx:text>A!</ncx:text>")) << written.constData();
        EXPECT_TRUE(written.contains("<ncx:content " + a + "src=\"b.xhtml#x\"/>"));
        tree.DeleteAllItems();
        CPackageNCXManager again;
        again.SetMetadataGrid(&grid);
        again.SetNavigationTree(&tree);
        ASSERT_TRUE(again.LoadNcx(dir.path() + "/", path));
        QStringList relabelled = expected;
        relabelled[1] = QStringLiteral("  A!:1");
        EXPECT_EQ(shown(), relabelled);
    }
}
