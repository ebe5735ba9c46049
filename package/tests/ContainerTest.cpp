// Opening a book file into its work folder and packing the work folder back.
#include "package/ePubContainerFormat.h"
#include "package/tests/ArchiveBuilder.h"
#include "package/tests/TestBooks.h"
#include "platform/controls/MemoryTree.h"
#include "platform/core/MessageBox.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using testbooks::readFile;
using testbooks::writeFile;

namespace {

const QString kInvalidMessage = QString::fromUtf8("올바른 ePub 압축 파일이 아닙니다.");

ArchiveBuilder soundBook()
{
    ArchiveBuilder book;
    book.addEpubFrame()
        .add("OEBPS/content.opf", testbooks::kPackage, false)
        .add("OEBPS/c1.xhtml", "<html/>", false)
        .add("OEBPS/text/c2.xhtml", "<html/>", false)
        .add("OEBPS/toc.ncx", "<ncx/>", false);
    return book;
}

// Every file below `folder`, as sorted relative names.
QStringList filesBelow(const QString& folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        out.append(QDir(folder).relativeFilePath(it.next()));
    out.sort();
    return out;
}

QStringList archiveMembers(const QString& path)
{
    QStringList out;
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return out;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i)
        out.append(QString::fromUtf8(zip_get_name(zip, zip_uint64_t(i), 0)));
    zip_discard(zip);
    return out;
}

// Every member's name and bytes, in archive order.
QList<std::pair<QString, QByteArray>> archiveContents(const QString& path)
{
    QList<std::pair<QString, QByteArray>> out;
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return out;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(zip, zip_uint64_t(i), 0, &stat);
        QByteArray bytes(qsizetype(stat.size), '\0');
        if (zip_file_t* member = zip_fopen_index(zip, zip_uint64_t(i), 0)) {
            zip_fread(member, bytes.data(), stat.size);
            zip_fclose(member);
        }
        out.append({QString::fromUtf8(stat.name), bytes});
    }
    zip_discard(zip);
    return out;
}

QStringList rootTexts(const platform::MemoryTree& tree)
{
    QStringList out;
    for (platform::TreeItem item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item))
        out.append(tree.GetItemText(item));
    return out;
}

class ContainerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_books.isValid());
        QDir(CePubContainerFormat::GetWorkFolderBase(true)).removeRecursively();
    }

    // A container with its archive library bound and the trees attached, as the book
    // document prepares it.
    std::unique_ptr<CePubContainerFormat> makeContainer(bool bind = true)
    {
        auto container = std::make_unique<CePubContainerFormat>();
        COPFManager& manager = container->GetPackage().GetOPFManager();
        manager.GetManifestManager().SetManifestTree(&m_manifestTree);
        manager.GetSpineManager().SetSpineTree(&m_spineTree);
        manager.GetSpineManager().SetManifestManager(&manager.GetManifestManager());
        if (bind)
            container->GetZipWrapper().LoadLibraries();
        return container;
    }

    QString bookPath(const QString& name) const { return m_books.filePath(name); }

    QTemporaryDir m_books;
    platform::ScriptedMessageBoxes m_messages;
    platform::ScopedMessageBoxBackend m_scopedMessages{&m_messages};
    platform::MemoryTree m_manifestTree;
    platform::MemoryTree m_spineTree;
};

} // namespace

TEST(WorkFolderBase, IsLocalApplicationDataWithEpubModule)
{
    const QString data = QDir::cleanPath(qEnvironmentVariable("XDG_DATA_HOME"));
    EXPECT_EQ(CePubContainerFormat::GetWorkFolderBase(), data + "/ePubModule/");
    EXPECT_EQ(CePubContainerFormat::GetWorkFolderBase(true), data + "/ePubModule");
}

TEST_F(ContainerFixture, ValidityCheckRejectsWithTheMessage)
{
    const struct {
        const char* fileName;
        std::function<void(ArchiveBuilder&)> build; // null: the file holds plain text
        bool accepted;
    } cases[] = {
        {"book.epub", [](ArchiveBuilder& a) { a.addEpubFrame(); }, true},
        {"ab.epub", [](ArchiveBuilder& a) { a.addEpubFrame(); }, true},
        {"a.epb", [](ArchiveBuilder& a) { a.addEpubFrame(); }, false},
        {"first.epub",
         [](ArchiveBuilder& a) {
             a.add("META-INF/container.xml", "<container/>").add("mimetype", "application/epub+zip");
         },
         false},
        {"extra.epub", [](ArchiveBuilder& a) { a.addWithExtraField("mimetype", "application/epub+zip"); }, false},
        {"short.epub", [](ArchiveBuilder& a) { a.add("mimetype", "application/epub+zi"); }, false},
        {"other.epub", [](ArchiveBuilder& a) { a.add("mimetype", "application/zip+epub"); }, false},
        // Only the first 20 content bytes count, so a line end after them still passes.
        {"crlf.epub", [](ArchiveBuilder& a) { a.addEpubFrame("application/epub+zip\r\n"); }, true},
        {"deflated.epub",
         [](ArchiveBuilder& a) { a.add("mimetype", QByteArray("application/epub+zip"), /*store=*/false); },
         false},
        {"plain.epub", nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fileName);
        const QString path = bookPath(c.fileName);
        if (c.build) {
            ArchiveBuilder archive;
            c.build(archive);
            ASSERT_TRUE(archive.write(path));
        } else {
            ASSERT_TRUE(writeFile(path, "mimetypeapplication/epub+zip, but not an archive"));
        }
        m_messages.clear();
        auto container = makeContainer();
        EXPECT_EQ(CePubContainerFormat::IsValidEpubFile(path), c.accepted);
        container->OpenEpub(path);
        if (c.accepted) {
            EXPECT_TRUE(m_messages.asked().isEmpty());
            EXPECT_FALSE(container->GetWorkFolderPath().isEmpty());
        } else {
            ASSERT_EQ(m_messages.asked().size(), 1);
            const platform::MessageRequest& asked = m_messages.asked().first();
            // A file that is no archive at all says so; archives that break the rule get the
            // rule's message.
            if (c.build)
                EXPECT_EQ(asked.text, kInvalidMessage);
            else
                EXPECT_TRUE(asked.text.startsWith(QString::fromUtf8("ZIP 압축 파일이 아닙니다."))) << asked.text.toStdString();
            EXPECT_EQ(asked.caption, QString::fromUtf8("Tolvo maker 편집툴"));
            EXPECT_EQ(asked.icon, platform::MessageIcon::Error);
            EXPECT_EQ(asked.owner, nullptr);
            EXPECT_TRUE(container->GetWorkFolderPath().isEmpty());
        }
    }
    m_messages.clear();
    EXPECT_FALSE(makeContainer()->OpenEpub(bookPath("missing.epub")));
    EXPECT_EQ(m_messages.asked().size(), 1);
}

TEST_F(ContainerFixture, OpenUnpacksIntoTheTitledWorkFolderAndLoadsThePackage)
{
    ASSERT_TRUE(soundBook().write(bookPath("My.Book.epub")));
    auto container = makeContainer();
    ASSERT_TRUE(container->OpenEpub(bookPath("My.Book.epub")));
    const QString work = CePubContainerFormat::GetWorkFolderBase() + "My.Book";
    EXPECT_EQ(container->GetWorkFolderPath(), work);
    EXPECT_EQ(filesBelow(work), (QStringList{"META-INF/container.xml", "OEBPS/c1.xhtml", "OEBPS/content.opf",
                                             "OEBPS/text/c2.xhtml", "OEBPS/toc.ncx", "mimetype"}));
    EXPECT_EQ(container->GetMemberList(), archiveMembers(bookPath("My.Book.epub")));
    EXPECT_EQ(container->GetPackage().GetPackagePath(), work + "/OEBPS/content.opf");
    EXPECT_EQ(rootTexts(m_manifestTree), (QStringList{"ncx", "c1", "c2"}));
    EXPECT_EQ(rootTexts(m_spineTree), (QStringList{"c1", "c2"}));
    QString first;
    ASSERT_TRUE(container->GetPackage().GetOPFManager().GetFirstDocumentPath(first));
    EXPECT_EQ(first, work + "/OEBPS/c1.xhtml");
    EXPECT_TRUE(m_messages.asked().isEmpty());
}

TEST_F(ContainerFixture, ContainerCheckIgnoresCaseAndAMissingContainerIsRefusedSilently)
{
    const QByteArray containerXml =
        "<container><rootfiles><rootfile full-path=\"OEBPS/content.opf\" "
        "media-type=\"application/oebps-package+xml\"/></rootfiles></container>";
    const struct {
        const char* containerName; // null: no container member
        bool opened;
    } cases[] = {{"META-INF/container.xml", true}, {"meta-inf/CONTAINER.XML", true}, {nullptr, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.containerName ? c.containerName : "none");
        ArchiveBuilder archive;
        archive.add("mimetype", "application/epub+zip").add("OEBPS/content.opf", testbooks::kPackage);
        if (c.containerName)
            archive.add(c.containerName, containerXml);
        ASSERT_TRUE(archive.write(bookPath("cased.epub")));
        m_manifestTree.DeleteAllItems();
        auto opened = makeContainer();
        EXPECT_EQ(opened->OpenEpub(bookPath("cased.epub")), c.opened);
        EXPECT_EQ(m_manifestTree.GetCount() > 0, c.opened);
        // Refused or not, the members were unpacked.
        EXPECT_TRUE(QFileInfo::exists(opened->GetWorkFolderPath() + "/OEBPS/content.opf"));
    }
    EXPECT_TRUE(m_messages.asked().isEmpty());
}

TEST_F(ContainerFixture, RootfileChoiceAndUnusablePackagePaths)
{
    const QString base = CePubContainerFormat::GetWorkFolderBase(true);
    // A package document planted beside the work folder must never be read through "..".
    ASSERT_TRUE(writeFile(base + "/outside/content.opf", testbooks::kPackage));
    const struct {
        const char* rootfiles;
        const char* packagePath; // relative to the work folder; empty: no package loaded
    } cases[] = {
        {"<rootfile full-path=\"other.txt\" media-type=\"text/plain\"/>"
         "<rootfile full-path=\"OEBPS/content.opf\" media-type=\"application/oebps-package+xml\"/>"
         "<rootfile full-path=\"ALT/content.opf\" media-type=\"application/oebps-package+xml\"/>",
         "OEBPS/content.opf"},
        {"<rootfile full-path=\"OEBPS/content.opf\" media-type=\"application/oepbs-package+xml\"/>", ""},
        {"<rootfile media-type=\"application/oebps-package+xml\"/>", ""},
        {"<rootfile full-path=\"../outside/content.opf\" media-type=\"application/oebps-package+xml\"/>", ""},
        {"<rootfile full-path=\"OEBPS/../../outside/content.opf\" media-type=\"application/oebps-package+xml\"/>", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rootfiles);
        ArchiveBuilder archive;
        archive.add("mimetype", "application/epub+zip")
            .addContainer(c.rootfiles)
            .add("OEBPS/content.opf", testbooks::kPackage)
            .add("ALT/content.opf", testbooks::kPackage);
        ASSERT_TRUE(archive.write(bookPath("rootfiles.epub")));
        m_manifestTree.DeleteAllItems();
        auto container = makeContainer();
        ASSERT_TRUE(container->OpenEpub(bookPath("rootfiles.epub")));
        const QString expected = *c.packagePath ? container->GetWorkFolderPath() + "/" + c.packagePath : QString();
        EXPECT_EQ(container->GetPackage().GetDocument() ? container->GetPackage().GetPackagePath() : QString(), expected);
        EXPECT_EQ(m_manifestTree.GetCount() > 0, *c.packagePath != 0);
    }
    EXPECT_TRUE(QFileInfo::exists(base + "/outside/content.opf"));
}

TEST_F(ContainerFixture, HostileMembersAreNotExtractedAndTheBookStillOpens)
{
    const QString root = qEnvironmentVariable("KVX_TEST_ROOT");
    const QString absoluteTarget = root + "/absolute-escape.txt";
    ArchiveBuilder archive = soundBook();
    archive.add("../escape.txt", "x")
        .add("../../escape.txt", "x")
        .add("OEBPS/../../escape-inner.txt", "x")
        .add(absoluteTarget, "x")
        .add("..\\backslash-escape.txt", "x")
        .add("C:/drive-escape.txt", "x")
        .addSymlink("OEBPS/link", root.toUtf8())
        .addSymlink("linkdir", "/")
        .add("linkdir/through-link.txt", "x");
    ASSERT_TRUE(archive.write(bookPath("hostile.epub")));
    const QStringList before = filesBelow(root);

    auto container = makeContainer();
    ASSERT_TRUE(container->OpenEpub(bookPath("hostile.epub")));
    const QString work = container->GetWorkFolderPath();
    // Nothing new anywhere except inside the work folder.
    QStringList added = filesBelow(root);
    for (const QString& file : before)
        added.removeAll(file);
    const QString workRelative = QDir(root).relativeFilePath(work) + "/";
    const QString lockRelative = QDir(root).relativeFilePath(CePubContainerFormat::GetWorkFolderBase() + ".hostile.lock");
    for (const QString& file : std::as_const(added))
        EXPECT_TRUE(file.startsWith(workRelative) || file == lockRelative) << file.toStdString();
    EXPECT_FALSE(QFileInfo::exists(absoluteTarget));
    EXPECT_FALSE(QFileInfo(work + "/OEBPS/link").isSymLink());
    EXPECT_FALSE(QFileInfo(work + "/linkdir").isSymLink());
    EXPECT_EQ(container->GetZipWrapper().GetSkippedMembers().size(), 8);
    // The sound part of the book is there.
    EXPECT_EQ(rootTexts(m_spineTree), (QStringList{"c1", "c2"}));
}

TEST_F(ContainerFixture, OpeningEmptiesTheWorkFolderFirst)
{
    ArchiveBuilder first = soundBook();
    first.add("leftover.txt", "from the first book");
    QDir(m_books.path()).mkpath("a");
    QDir(m_books.path()).mkpath("b");
    ASSERT_TRUE(first.write(bookPath("a/same.epub")));
    ASSERT_TRUE(soundBook().write(bookPath("b/same.epub")));
    {
        auto container = makeContainer();
        ASSERT_TRUE(container->OpenEpub(bookPath("a/same.epub")));
        ASSERT_TRUE(QFileInfo::exists(container->GetWorkFolderPath() + "/leftover.txt"));
    }
    auto container = makeContainer();
    ASSERT_TRUE(container->OpenEpub(bookPath("b/same.epub")));
    EXPECT_FALSE(QFileInfo::exists(container->GetWorkFolderPath() + "/leftover.txt"));
    ASSERT_TRUE(container->SaveEpub(bookPath("saved.epub")));
    EXPECT_FALSE(archiveMembers(bookPath("saved.epub")).contains("leftover.txt"));
}

TEST_F(ContainerFixture, AWorkFolderInUseIsNeverTakenOver)
{
    ArchiveBuilder first = soundBook();
    first.add("unsaved.txt", "work in progress");
    QDir(m_books.path()).mkpath("a");
    QDir(m_books.path()).mkpath("b");
    ASSERT_TRUE(first.write(bookPath("a/same.epub")));
    ASSERT_TRUE(soundBook().write(bookPath("b/same.epub")));
    const QString base = CePubContainerFormat::GetWorkFolderBase();

    auto open = makeContainer();
    ASSERT_TRUE(open->OpenEpub(bookPath("a/same.epub")));
    EXPECT_EQ(open->GetWorkFolderPath(), base + "same");
    // A second book of the same title, opened while the first is, gets a folder of its own.
    {
        auto second = makeContainer();
        ASSERT_TRUE(second->OpenEpub(bookPath("b/same.epub")));
        EXPECT_EQ(second->GetWorkFolderPath(), base + "same(01)");
        EXPECT_EQ(readFile(base + "same/unsaved.txt"), QByteArray("work in progress"));
    }
    open.reset();
    auto later = makeContainer();
    ASSERT_TRUE(later->OpenEpub(bookPath("b/same.epub")));
    EXPECT_EQ(later->GetWorkFolderPath(), base + "same");
}

TEST_F(ContainerFixture, SaveWritesExactlyTheWorkFolderWithMimetypeFirstAndStored)
{
    ASSERT_TRUE(soundBook().write(bookPath("book.epub")));
    auto container = makeContainer();
    ASSERT_TRUE(container->OpenEpub(bookPath("book.epub")));
    const QString work = container->GetWorkFolderPath();
    // The book changes on disk: one chapter goes, a picture and an empty folder arrive, and
    // a link pointing out of the book must not pull anything in.
    ASSERT_TRUE(QFile::remove(work + "/OEBPS/text/c2.xhtml"));
    ASSERT_TRUE(writeFile(work + "/OEBPS/images/p.png", QByteArray(5000, 'p')));
    ASSERT_TRUE(QDir().mkpath(work + "/OEBPS/empty"));
    ASSERT_TRUE(QFile::link(qEnvironmentVariable("KVX_TEST_ROOT"), work + "/OEBPS/outside-link"));

    // The target already holds an archive with a member the work folder no longer has.
    const QString target = bookPath("book.epub");
    ASSERT_TRUE(container->SaveEpub(target));

    const QStringList members = archiveMembers(target);
    ASSERT_FALSE(members.isEmpty());
    EXPECT_EQ(members.first(), "mimetype");
    QStringList files;
    for (const QString& member : members) {
        if (!member.endsWith('/'))
            files.append(member);
    }
    files.sort();
    EXPECT_EQ(files, filesBelow(work));
    EXPECT_TRUE(members.contains("OEBPS/empty/"));
    EXPECT_FALSE(members.contains("OEBPS/text/c2.xhtml"));

    const QByteArray bytes = readFile(target);
    EXPECT_EQ(bytes.left(4), QByteArray("PK\x03\x04"));
    EXPECT_EQ(bytes.mid(8, 2), QByteArray(2, '\0'));  // stored
    EXPECT_EQ(bytes.mid(28, 2), QByteArray(2, '\0')); // no extra field
    EXPECT_EQ(bytes.mid(30, 8), QByteArray("mimetype"));
    EXPECT_EQ(bytes.mid(38, 20), QByteArray("application/epub+zip"));
    EXPECT_TRUE(CePubContainerFormat::IsValidEpubFile(target));
    // No temporary file is left beside the target.
    EXPECT_EQ(QDir(m_books.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"book.epub"});

    // The saved book opens again with the same package.
    const QStringList manifest = rootTexts(m_manifestTree);
    container.reset();
    m_manifestTree.DeleteAllItems();
    m_spineTree.DeleteAllItems();
    auto reopened = makeContainer();
    ASSERT_TRUE(reopened->OpenEpub(target));
    EXPECT_EQ(rootTexts(m_manifestTree), manifest);
    EXPECT_EQ(rootTexts(m_spineTree), (QStringList{"c1", "c2"}));
}

TEST_F(ContainerFixture, FailedSaveReportsAndKeepsTheEarlierFile)
{
    ASSERT_TRUE(soundBook().write(bookPath("book.epub")));
    auto container = makeContainer();
    ASSERT_TRUE(container->OpenEpub(bookPath("book.epub")));
    const QString target = bookPath("earlier.epub");
    ASSERT_TRUE(writeFile(target, "the earlier book"));

    EXPECT_FALSE(container->SaveEpub(bookPath("no/such/folder/out.epub")));
    EXPECT_FALSE(container->SaveEpub(m_books.path())); // a folder, not a file
    EXPECT_FALSE(container->SaveEpub(QString()));

    // Without a mimetype there is no valid book to write.
    ASSERT_TRUE(QFile::remove(container->GetWorkFolderPath() + "/mimetype"));
    EXPECT_FALSE(container->SaveEpub(target));
    EXPECT_EQ(readFile(target), QByteArray("the earlier book"));
    EXPECT_EQ(QDir(m_books.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"book.epub", "earlier.epub"}));

    // A container with no open book has nothing to save.
    EXPECT_FALSE(makeContainer()->SaveEpub(target));
    EXPECT_EQ(readFile(target), QByteArray("the earlier book"));
}

TEST_F(ContainerFixture, WithoutTheArchiveLibraryOpenFailsCleanly)
{
    ASSERT_TRUE(soundBook().write(bookPath("book.epub")));
    auto container = makeContainer(/*bind=*/false);
    EXPECT_FALSE(container->OpenEpub(bookPath("book.epub")));
    EXPECT_TRUE(m_messages.asked().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(CePubContainerFormat::GetWorkFolderBase() + "book"));

    CZipUnZipWrapper wrapper;
    QStringList members;
    EXPECT_FALSE(wrapper.InitZip());
    EXPECT_FALSE(wrapper.ListMembers(bookPath("book.epub"), members));
    EXPECT_FALSE(wrapper.ExtractAll(bookPath("book.epub"), m_books.filePath("out")));
    EXPECT_FALSE(wrapper.ArchivePass(m_books.path(), "book.epub", m_books.filePath("new.zip")));
    EXPECT_TRUE(members.isEmpty());
    // Bound but not initialised for writing.
    ASSERT_TRUE(wrapper.LoadLibraries());
    EXPECT_FALSE(wrapper.ArchivePass(m_books.path(), "book.epub", m_books.filePath("new.zip")));
    wrapper.FreeLibraries();
    EXPECT_FALSE(wrapper.IsLoaded());
    EXPECT_FALSE(QFileInfo::exists(m_books.filePath("new.zip")));
}

namespace {

// How a member is compressed in an archive, and its contents; -1 when it is missing.
int compressionOf(const QString& archive, const QString& name, QByteArray* contents = nullptr)
{
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return -1;
    zip_stat_t stat;
    int method = -1;
    if (zip_stat(zip, name.toUtf8().constData(), 0, &stat) == 0) {
        method = stat.comp_method;
        if (contents) {
            contents->resize(qsizetype(stat.size));
            zip_file_t* file = zip_fopen_index(zip, stat.index, 0);
            if (!file || zip_fread(file, contents->data(), stat.size) != zip_int64_t(stat.size))
                method = -1;
            if (file)
                zip_fclose(file);
        }
    }
    zip_discard(zip);
    return method;
}

} // namespace

// A save copies the members whose files are as the open unpacked them straight from the
// book, compressed as they are there (a stored picture stays stored), and compresses only
// what changed. Once the book file itself changed, nothing is copied from it.
TEST_F(ContainerFixture, SaveCopiesUnchangedMembersFromTheBookAndCompressesTheRest)
{
    const QByteArray picture(20000, 'x'); // stored in the book; deflating it would shrink it
    ArchiveBuilder book = soundBook();
    book.add("OEBPS/images/big.png", picture, true).add("OEBPS/same-size.xhtml", "<p>before</p>", true);
    ASSERT_TRUE(book.write(bookPath("book.epub")));
    auto container = makeContainer();
    ASSERT_TRUE(container->OpenEpub(bookPath("book.epub")));
    const QString work = container->GetWorkFolderPath();
    {
        QFile edited(work + "/OEBPS/same-size.xhtml"); // written in place, same size
        ASSERT_TRUE(edited.open(QIODevice::ReadWrite));
        ASSERT_EQ(edited.write("<p>after!</p>"), 13);
    }
    ASSERT_TRUE(writeFile(work + "/OEBPS/new.xhtml", QByteArray(3000, 'n')));

    const QString saved = bookPath("saved.epub");
    ASSERT_TRUE(container->SaveEpub(saved));
    QByteArray contents;
    EXPECT_EQ(compressionOf(saved, "OEBPS/images/big.png", &contents), ZIP_CM_STORE);
    EXPECT_EQ(contents, picture);
    EXPECT_EQ(compressionOf(saved, "OEBPS/same-size.xhtml", &contents), ZIP_CM_DEFLATE);
    EXPECT_EQ(contents, QByteArray("<p>after!</p>"));
    EXPECT_EQ(compressionOf(saved, "OEBPS/new.xhtml", &contents), ZIP_CM_DEFLATE);
    EXPECT_EQ(contents, QByteArray(3000, 'n'));
    EXPECT_EQ(compressionOf(saved, "OEBPS/c1.xhtml", &contents), ZIP_CM_DEFLATE);
    EXPECT_EQ(contents, QByteArray("<html/>"));
    EXPECT_EQ(compressionOf(saved, "mimetype"), ZIP_CM_STORE);
    QProcess test;
    test.start("unzip", {"-tq", saved});
    ASSERT_TRUE(test.waitForFinished(60000));
    EXPECT_EQ(test.exitCode(), 0) << test.readAllStandardOutput().constData();

    // The book file is written again, byte for byte: it may hold anything now.
    const QByteArray original = readFile(bookPath("book.epub"));
    ASSERT_TRUE(QFile::remove(bookPath("book.epub")));
    ASSERT_TRUE(writeFile(bookPath("book.epub"), original));
    ASSERT_TRUE(container->SaveEpub(saved));
    EXPECT_EQ(compressionOf(saved, "OEBPS/images/big.png", &contents), ZIP_CM_DEFLATE);
    EXPECT_EQ(contents, picture);
}

// lindar-cli's open: only the files the package loader reads are written, the book reads as
// it does when unpacked whole, and a save copies the rest from the book file, which must
// then be the one that was opened.
TEST_F(ContainerFixture, OnDemandOpenWritesOnlyThePackageFilesAndSavesTheWholeBook)
{
    ArchiveBuilder book;
    book.addEpubFrame()
        .add("OEBPS/content.opf", testbooks::kPackage, false)
        .add("OEBPS/c1.xhtml", "<html/>", false)
        .add("OEBPS/text/c2.xhtml", "<html/>", false)
        .add("OEBPS/text/c 2.xhtml", "<p>two</p>", false)
        .add("OEBPS/images/p.png", QByteArray(3000, 'p'))
        .add("OEBPS/toc.ncx", "<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\"><navMap><navPoint id=\"n\" "
                              "playOrder=\"1\"><navLabel><text>L</text></navLabel><content src=\"text/c%202.xhtml\"/>"
                              "</navPoint></navMap></ncx>", false);
    ASSERT_TRUE(book.write(bookPath("book.epub")));
    struct Opened {
        QStringList written;
        QString firstDocument;
        QStringList manifest;
    };
    auto openAndSave = [&](bool onDemand, const QString& target, Opened& opened) {
        m_manifestTree.DeleteAllItems();
        m_spineTree.DeleteAllItems();
        auto container = makeContainer();
        container->SetUnpackOnDemand(onDemand);
        ASSERT_TRUE(container->OpenEpub(bookPath("book.epub")));
        const QString work = container->GetWorkFolderPath();
        opened.written = filesBelow(work);
        container->GetPackage().GetOPFManager().GetFirstDocumentPath(opened.firstDocument);
        opened.firstDocument = QDir(work).relativeFilePath(opened.firstDocument);
        opened.manifest = rootTexts(m_manifestTree);
        ASSERT_TRUE(container->SaveEpub(target));
    };
    Opened whole;
    Opened onDemand;
    openAndSave(false, bookPath("whole.epub"), whole);
    openAndSave(true, bookPath("on-demand.epub"), onDemand);
    EXPECT_EQ(onDemand.written,
              (QStringList{"META-INF/container.xml", "OEBPS/content.opf", "OEBPS/toc.ncx", "mimetype"}));
    EXPECT_EQ(whole.written.size(), 8);
    EXPECT_EQ(onDemand.firstDocument, "OEBPS/text/c 2.xhtml");
    EXPECT_EQ(onDemand.firstDocument, whole.firstDocument);
    EXPECT_EQ(onDemand.manifest, whole.manifest);
    const auto saved = archiveContents(bookPath("on-demand.epub"));
    EXPECT_EQ(saved.size(), 12); // the 8 files and their 4 folders
    EXPECT_EQ(saved, archiveContents(bookPath("whole.epub")));

    // The book file changes after the open: what was left in it cannot be copied any more.
    auto container = makeContainer();
    container->SetUnpackOnDemand(true);
    ASSERT_TRUE(container->OpenEpub(bookPath("book.epub")));
    ASSERT_TRUE(soundBook().write(bookPath("book.epub")));
    EXPECT_FALSE(container->SaveEpub(bookPath("later.epub")));
    EXPECT_FALSE(QFileInfo::exists(bookPath("later.epub")));
    EXPECT_EQ(QDir(m_books.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"book.epub", "on-demand.epub", "whole.epub"}));
}
