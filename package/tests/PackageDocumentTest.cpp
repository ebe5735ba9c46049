// The package document: manifest and spine read into trees and tables, written back from
// the trees, and the first chapter found.
#include "package/FileTypeImage.h"
#include "package/OpenPackageFormat.h"
#include "platform/controls/MemoryTree.h"
#include "package/tests/TestBooks.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using platform::MemoryTree;
using platform::TreeItem;
using testbooks::readFile;
using testbooks::writeFile;

namespace {

struct ItemView {
    QString text;
    int image;
    bool operator==(const ItemView&) const = default;
};

std::ostream& operator<<(std::ostream& os, const ItemView& item)
{
    return os << '(' << item.text.toStdString() << ", " << item.image << ')';
}

// Each root-level item followed by its children, flattened.
QList<QList<ItemView>> rows(const MemoryTree& tree)
{
    QList<QList<ItemView>> out;
    for (TreeItem item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item)) {
        QList<ItemView> row{{tree.GetItemText(item), tree.GetItemImage(item)}};
        for (TreeItem child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child))
            row.append({tree.GetItemText(child), tree.GetItemImage(child)});
        out.append(row);
    }
    return out;
}

QStringList rootTexts(const MemoryTree& tree)
{
    QStringList out;
    for (TreeItem item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item))
        out.append(tree.GetItemText(item));
    return out;
}

// A package with trees attached the way the book document attaches them.
class PackageFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_work = m_dir.path() + "/book";
        m_packagePath = m_work + "/OEBPS/content.opf";
    }

    std::unique_ptr<COpenPackageFormat> load(const QByteArray& opf, bool attach = true)
    {
        EXPECT_TRUE(writeFile(m_packagePath, opf));
        auto package = std::make_unique<COpenPackageFormat>();
        package->SetWorkFolder(m_work);
        COPFManager& manager = package->GetOPFManager();
        if (attach) {
            manager.GetManifestManager().SetManifestTree(&m_manifestTree);
            manager.GetSpineManager().SetSpineTree(&m_spineTree);
            manager.GetSpineManager().SetManifestManager(&manager.GetManifestManager());
        }
        m_loaded = package->LoadPackageDocument(m_packagePath);
        return package;
    }

    QString opfPath(const QString& relative) const { return m_work + "/OEBPS/" + relative; }

    QTemporaryDir m_dir;
    QString m_work;
    QString m_packagePath;
    MemoryTree m_manifestTree;
    MemoryTree m_spineTree;
    bool m_loaded = false;
};

QByteArray packageWith(const QByteArray& manifest, const QByteArray& spine)
{
    return "<?xml version=\"1.0\"?>\n<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"2.0\">"
           "<manifest>" + manifest + "</manifest>" + spine + "</package>";
}

} // namespace

TEST(FileTypeImage, ChosenByLastExtensionWithoutRegardToCase)
{
    const struct {
        const char* name;
        int image;
    } cases[] = {
        {"a.htm", 0}, {"a.xhtml", 0}, {"a.html", 0}, {"a.css", 1}, {"a.GIF", 2}, {"a.jpg", 3},
        {"a.JPG", 3}, {"a.Jpeg", 3}, {"a.png", 4}, {"a.svg", 5}, {"toc.ncx", 6}, {"a.xml", 6},
        {"a.png.txt", 0}, {"noextension", 0}, {"", 0}, {"dir.css/file", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetFileTypeImage(c.name), c.image) << c.name;
}

TEST_F(PackageFixture, LoadFillsManifestAndSpineTreesWithTheirConventions)
{
    auto package = load(testbooks::kPackage);
    ASSERT_TRUE(m_loaded);
    EXPECT_EQ(package->GetPackageFolder(), m_work + "/OEBPS/");
    EXPECT_EQ(package->GetPackagePath(), m_packagePath);

    const QList<QList<ItemView>> manifest{
        {{"ncx", 0}, {"application/x-dtbncx+xml", 1}, {"toc.ncx", 6}},
        {{"c1", 0}, {"application/xhtml+xml", 1}, {"c1.xhtml", 0}},
        {{"c2", 0}, {"application/xhtml+xml", 1}, {"text/c2.xhtml", 0}},
    };
    EXPECT_EQ(rows(m_manifestTree), manifest);
    // Spine children: the item's media type, then its file name without folders.
    const QList<QList<ItemView>> spine{
        {{"c1", 0}, {"application/xhtml+xml", 6}, {"c1.xhtml", 0}},
        {{"c2", 0}, {"application/xhtml+xml", 6}, {"c2.xhtml", 0}},
    };
    EXPECT_EQ(rows(m_spineTree), spine);

    const COPFManager& manager = package->GetOPFManager();
    EXPECT_EQ(manager.GetNCXPath(), opfPath("toc.ncx"));
    EXPECT_EQ(manager.GetNCXFolder(), m_work + "/OEBPS/");
    QString mediaType, path;
    ASSERT_TRUE(manager.GetManifestManager().LookupItem("c2", mediaType, path));
    EXPECT_EQ(mediaType, "application/xhtml+xml");
    EXPECT_EQ(path, opfPath("text/c2.xhtml"));
    EXPECT_FALSE(manager.GetManifestManager().LookupItem("missing", mediaType, path));
}

TEST_F(PackageFixture, ManifestEntriesOfAnyNameAndRepeatedIds)
{
    auto package = load(packageWith(
        "<item id=\"a\" href=\"first.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"a\" href=\"pics/Cover.JPG\" media-type=\"image/jpeg\"/>"
        "<other media-type=\"text/css\" href=\"s.css\" id=\"b\"/>",
        "<spine/>"));
    ASSERT_TRUE(m_loaded);
    // Both entries with the same id are shown; the later one answers look-ups.
    const QList<QList<ItemView>> manifest{
        {{"a", 0}, {"application/xhtml+xml", 1}, {"first.xhtml", 0}},
        {{"a", 0}, {"image/jpeg", 1}, {"pics/Cover.JPG", 3}},
        {{"b", 0}, {"text/css", 1}, {"s.css", 1}},
    };
    EXPECT_EQ(rows(m_manifestTree), manifest);
    QString mediaType, path;
    ASSERT_TRUE(package->GetOPFManager().GetManifestManager().LookupItem("a", mediaType, path));
    EXPECT_EQ(path, opfPath("pics/Cover.JPG"));
}

TEST_F(PackageFixture, SpineEntryUnknownToTheManifestHasEmptyChildren)
{
    load(packageWith("<item id=\"c1\" href=\"c1.xhtml\" media-type=\"application/xhtml+xml\"/>",
                     "<spine><itemref idref=\"ghost\"/><itemref idref=\"c1\"/></spine>"));
    const QList<QList<ItemView>> spine{
        {{"ghost", 0}, {"", 6}, {"", 0}},
        {{"c1", 0}, {"application/xhtml+xml", 6}, {"c1.xhtml", 0}},
    };
    EXPECT_EQ(rows(m_spineTree), spine);
}

TEST_F(PackageFixture, NcxIsFoundOnlyThroughAnNcxMediaType)
{
    const struct {
        const char* mediaType;
        bool isNcx;
    } cases[] = {
        {"application/x-dtbncx+xml", true},
        {"TEXT/XML", true},
        {"Application/X-DTBNCX+XML", true},
        {"application/xhtml+xml", false},
        {"", false},
    };
    for (const auto& c : cases) {
        auto package = load(packageWith(
            QByteArray("<item id=\"t\" href=\"toc.ncx\" media-type=\"") + c.mediaType + "\"/>",
            "<spine toc=\"t\"/>"));
        EXPECT_EQ(package->GetOPFManager().GetNCXPath(), c.isNcx ? opfPath("toc.ncx") : QString())
            << c.mediaType;
    }
}

TEST_F(PackageFixture, SavesRebuildManifestAndSpineFromTheTrees)
{
    auto package = load(packageWith(
        "<item id=\"ncx\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\"/>"
        "<item id=\"c1\" href=\"c1.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"c2\" href=\"c2.xhtml\" media-type=\"application/xhtml+xml\"/>",
        "<spine toc=\"ncx\"><itemref idref=\"c1\" linear=\"no\"/><itemref idref=\"c2\"/>"
        "<itemref idref=\"ghost\"/></spine>"));
    ASSERT_TRUE(m_loaded);
    // The panes edit the trees: drop c1 from the manifest, move c1 to the end of the spine.
    TreeItem c1 = m_manifestTree.GetNextSiblingItem(m_manifestTree.GetRootItem());
    ASSERT_EQ(m_manifestTree.GetItemText(c1), "c1");
    m_manifestTree.DeleteItem(c1);
    m_spineTree.DeleteItem(m_spineTree.GetRootItem());
    m_spineTree.InsertItem("c1", 0);

    COPFManager& manager = package->GetOPFManager();
    ASSERT_TRUE(manager.GetManifestManager().SaveManifest());
    ASSERT_TRUE(manager.GetSpineManager().SaveSpine());

    // Entries keep their elements as written (linear="no" included); a moved one moves.
    const QByteArray saved = readFile(m_packagePath);
    EXPECT_TRUE(saved.contains("<manifest><item id=\"ncx\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\"/>"
                               "<item id=\"c2\" href=\"c2.xhtml\" media-type=\"application/xhtml+xml\"/></manifest>"))
        << saved.constData();
    EXPECT_TRUE(saved.contains("<spine toc=\"ncx\"><itemref idref=\"c2\"/>"
                               "<itemref idref=\"ghost\"/><itemref idref=\"c1\" linear=\"no\"/></spine>"))
        << saved.constData();

    // An entry the tree adds is made new.
    const TreeItem added = m_spineTree.InsertItem("c3", 0);
    ASSERT_TRUE(added);
    ASSERT_TRUE(manager.GetSpineManager().SaveSpine());
    EXPECT_TRUE(readFile(m_packagePath).contains("<itemref idref=\"c1\" linear=\"no\"/><itemref idref=\"c3\" linear=\"yes\"/></spine>"))
        << readFile(m_packagePath).constData();

    // Reading the file back gives what the trees held.
    MemoryTree manifestAgain, spineAgain;
    COpenPackageFormat again;
    again.GetOPFManager().GetManifestManager().SetManifestTree(&manifestAgain);
    again.GetOPFManager().GetSpineManager().SetSpineTree(&spineAgain);
    again.GetOPFManager().GetSpineManager().SetManifestManager(&again.GetOPFManager().GetManifestManager());
    ASSERT_TRUE(again.LoadPackageDocument(m_packagePath));
    EXPECT_EQ(rows(manifestAgain), rows(m_manifestTree));
    EXPECT_EQ(rootTexts(spineAgain), rootTexts(m_spineTree));
}

TEST_F(PackageFixture, SavesWithoutTreesOrDocumentWriteNothing)
{
    auto package = load(testbooks::kPackage, /*attach=*/false);
    ASSERT_TRUE(m_loaded);
    EXPECT_EQ(package->GetOPFManager().GetManifestManager().GetItemCount(), 3);
    EXPECT_EQ(package->GetOPFManager().GetSpineManager().GetItemrefs().size(), 2);
    EXPECT_FALSE(package->GetOPFManager().GetManifestManager().SaveManifest());
    EXPECT_FALSE(package->GetOPFManager().GetSpineManager().SaveSpine());
    EXPECT_EQ(readFile(m_packagePath), testbooks::kPackage);

    COpenPackageFormat empty;
    MemoryTree tree;
    empty.GetOPFManager().GetManifestManager().SetManifestTree(&tree);
    EXPECT_FALSE(empty.GetOPFManager().GetManifestManager().SaveManifest());
}

TEST_F(PackageFixture, UnreadablePackageFillsNothing)
{
    for (const QByteArray& broken : {QByteArray("<package><manifest>"), QByteArray(""), QByteArray("not xml")}) {
        auto package = load(broken);
        EXPECT_FALSE(m_loaded);
        EXPECT_EQ(m_manifestTree.GetCount(), 0);
        QString path;
        EXPECT_FALSE(package->GetOPFManager().GetFirstDocumentPath(path));
    }
    COpenPackageFormat missing;
    EXPECT_FALSE(missing.LoadPackageDocument(m_work + "/nowhere.opf"));
}

TEST_F(PackageFixture, FirstDocumentFallsBackToFirstSpineEntryThatIsNotToc)
{
    const struct {
        const char* spine;
        const char* expected; // relative to the package folder, empty for none
    } cases[] = {
        {"<spine><itemref idref=\"TOC\"/><itemref idref=\"c2\"/></spine>", "c2.xhtml"},
        {"<spine><itemref idref=\"c1\"/><itemref idref=\"c2\"/></spine>", "c1.xhtml"},
        {"<spine><itemref idref=\"toc\"/></spine>", ""},
        {"<spine/>", ""},
        {"<spine><itemref idref=\"ghost\"/></spine>", ""},
    };
    for (const auto& c : cases) {
        auto package = load(packageWith(
            "<item id=\"toc\" href=\"toc.xhtml\" media-type=\"application/xhtml+xml\"/>"
            "<item id=\"c1\" href=\"c1.xhtml\" media-type=\"application/xhtml+xml\"/>"
            "<item id=\"c2\" href=\"c2.xhtml\" media-type=\"application/xhtml+xml\"/>",
            c.spine));
        QString path;
        const bool found = package->GetOPFManager().GetFirstDocumentPath(path);
        EXPECT_EQ(found, *c.expected != 0) << c.spine;
        EXPECT_EQ(path, *c.expected ? opfPath(c.expected) : QString()) << c.spine;
    }
}

TEST_F(PackageFixture, LongValuesAreKeptWhole)
{
    const QString longId = QString("i").repeated(600);
    const QString longHref = QString("h").repeated(600) + ".xhtml";
    const QString longType = QString("t").repeated(600);
    const QString longIdref = QString("r").repeated(300);
    auto package = load(packageWith(
        QStringLiteral("<item id=\"%1\" href=\"%2\" media-type=\"%3\"/>"
                       "<item id=\"%4\" href=\"c.xhtml\" media-type=\"application/xhtml+xml\"/>")
            .arg(longId, longHref, longType, longIdref)
            .toUtf8(),
        QStringLiteral("<spine><itemref idref=\"%1\"/></spine>").arg(longIdref).toUtf8()));
    ASSERT_TRUE(m_loaded);
    EXPECT_EQ(rows(m_manifestTree).first(),
              (QList<ItemView>{{longId, 0}, {longType, 1}, {longHref, 0}}));
    EXPECT_EQ(rootTexts(m_spineTree), QStringList{longIdref});
    QString mediaType, path;
    ASSERT_TRUE(package->GetOPFManager().GetManifestManager().LookupItem(longId, mediaType, path));
    EXPECT_EQ(path, opfPath(longHref));

    ASSERT_TRUE(package->GetOPFManager().GetManifestManager().SaveManifest());
    ASSERT_TRUE(package->GetOPFManager().GetSpineManager().SaveSpine());
    const QString saved = QString::fromUtf8(readFile(m_packagePath));
    EXPECT_TRUE(saved.contains(QStringLiteral("id=\"%1\" href=\"%2\" media-type=\"%3\"").arg(longId, longHref, longType)));
    EXPECT_TRUE(saved.contains(QStringLiteral("idref=\"%1\"").arg(longIdref)));
}

TEST_F(PackageFixture, PrefixedPackageElementsAreReadAndWrittenWithTheirPrefix)
{
    auto package = load(
        "<opf:package xmlns:opf=\"http://www.idpf.org/2007/opf\" version=\"2.0\">"
        "<opf:manifest><opf:item id=\"c1\" href=\"c1.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<opf:item id=\"ncx\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\"/></opf:manifest>"
        "<opf:spine toc=\"ncx\"><opf:itemref idref=\"c1\"/></opf:spine></opf:package>");
    ASSERT_TRUE(m_loaded);
    EXPECT_EQ(rootTexts(m_manifestTree), (QStringList{"c1", "ncx"}));
    EXPECT_EQ(rootTexts(m_spineTree), QStringList{"c1"});
    EXPECT_EQ(package->GetOPFManager().GetNCXPath(), opfPath("toc.ncx"));

    ASSERT_TRUE(package->GetOPFManager().GetManifestManager().SaveManifest());
    ASSERT_TRUE(package->GetOPFManager().GetSpineManager().SaveSpine());
    const QByteArray saved = readFile(m_packagePath);
    EXPECT_TRUE(saved.contains("<opf:manifest><opf:item id=\"c1\" href=\"c1.xhtml\"")) << saved.constData();
    EXPECT_TRUE(saved.contains("<opf:spine toc=\"ncx\"><opf:itemref idref=\"c1\"/></opf:spine>"))
        << saved.constData();

    // Entries the tree adds carry the package's prefix too.
    m_manifestTree.InsertItem("c2", 0);
    m_spineTree.InsertItem("c2", 0);
    ASSERT_TRUE(package->GetOPFManager().GetManifestManager().SaveManifest());
    ASSERT_TRUE(package->GetOPFManager().GetSpineManager().SaveSpine());
    const QByteArray again = readFile(m_packagePath);
    EXPECT_TRUE(again.contains("<opf:item href=\"\" id=\"c2\" media-type=\"\"/></opf:manifest>")) << again.constData();
    EXPECT_TRUE(again.contains("<opf:itemref idref=\"c2\" linear=\"yes\"/></opf:spine>")) << again.constData();
}

TEST_F(PackageFixture, HrefsThatLeaveTheBookAreNotUsed)
{
    // The hrefs are data: neither the chapter, the NCX nor the first document may point
    // outside the work folder, however the href is written.
    auto package = load(packageWith(
        "<item id=\"up\" href=\"../../outside.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"abs\" href=\"/etc/passwd\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"ncx\" href=\"../../../toc.ncx\" media-type=\"application/x-dtbncx+xml\"/>"
        "<item id=\"ok\" href=\"../inside.xhtml\" media-type=\"application/xhtml+xml\"/>",
        "<spine toc=\"ncx\"><itemref idref=\"up\"/><itemref idref=\"ok\"/></spine>"));
    ASSERT_TRUE(m_loaded);
    const COPFManifestManager& manifest = package->GetOPFManager().GetManifestManager();
    QString mediaType, path;
    EXPECT_FALSE(manifest.LookupItem("up", mediaType, path));
    EXPECT_FALSE(manifest.LookupItem("ncx", mediaType, path));
    // "/etc/passwd" joined to the package folder stays inside it.
    ASSERT_TRUE(manifest.LookupItem("abs", mediaType, path));
    EXPECT_EQ(path, opfPath("etc/passwd"));
    ASSERT_TRUE(manifest.LookupItem("ok", mediaType, path));
    EXPECT_EQ(path, m_work + "/inside.xhtml");

    EXPECT_EQ(package->GetOPFManager().GetNCXPath(), QString());
    EXPECT_EQ(rows(m_spineTree).first(), (QList<ItemView>{{"up", 0}, {"", 6}, {"", 0}}));
    // The shown tree keeps the href as written; only its use is refused.
    EXPECT_EQ(rows(m_manifestTree).first().last().text, "../../outside.xhtml");
    // The first spine entry leads out, so there is no first document.
    QString first;
    EXPECT_FALSE(package->GetOPFManager().GetFirstDocumentPath(first));
    EXPECT_TRUE(first.isEmpty());
}

TEST_F(PackageFixture, ClosingDeletesThePackageFolderOnlyInsideTheWorkFolder)
{
    // Inside: the package folder goes, the rest of the work folder stays.
    ASSERT_TRUE(writeFile(m_work + "/mimetype", "application/epub+zip"));
    load(testbooks::kPackage).reset();
    EXPECT_FALSE(QFileInfo::exists(m_work + "/OEBPS"));
    EXPECT_TRUE(QFileInfo::exists(m_work + "/mimetype"));

    // A package document outside the work folder (or with no work folder known) is
    // never cleaned up after.
    const QString outside = m_dir.path() + "/elsewhere/content.opf";
    ASSERT_TRUE(writeFile(outside, testbooks::kPackage));
    for (const QString& workFolder : {m_work, QString()}) {
        auto package = std::make_unique<COpenPackageFormat>();
        package->SetWorkFolder(workFolder);
        ASSERT_TRUE(package->LoadPackageDocument(outside));
        package.reset();
        EXPECT_TRUE(QFileInfo::exists(outside)) << workFolder.toStdString();
    }
}

TEST_F(PackageFixture, PercentEncodedHrefsFindTheirFiles)
{
    ASSERT_TRUE(writeFile(opfPath("content 001.xhtml"), "<html/>"));
    ASSERT_TRUE(writeFile(opfPath("100%25.xhtml"), "<html/>"));
    ASSERT_TRUE(writeFile(m_dir.path() + "/secret.xhtml", "<html/>"));
    auto package = load(packageWith(
        "<item id=\"space\" href=\"content%20001.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"literal\" href=\"100%25.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"missing\" href=\"gone%20away.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"climb\" href=\"%2E%2E/%2E%2E/secret.xhtml\" media-type=\"application/xhtml+xml\"/>",
        "<spine><itemref idref=\"space\"/></spine>"));
    ASSERT_TRUE(m_loaded);
    const COPFManifestManager& manifest = package->GetOPFManager().GetManifestManager();
    QString mediaType, path;
    ASSERT_TRUE(manifest.LookupItem("space", mediaType, path));
    EXPECT_EQ(path, opfPath("content 001.xhtml"));
    // A file whose name really holds the encoded text is taken as written.
    ASSERT_TRUE(manifest.LookupItem("literal", mediaType, path));
    EXPECT_EQ(path, opfPath("100%25.xhtml"));
    ASSERT_TRUE(manifest.LookupItem("missing", mediaType, path));
    EXPECT_EQ(path, opfPath("gone%20away.xhtml"));
    // Decoding never opens a way out of the book.
    EXPECT_FALSE(manifest.LookupItem("climb", mediaType, path));
    EXPECT_EQ(rows(m_spineTree).first().last().text, "content 001.xhtml");
}
