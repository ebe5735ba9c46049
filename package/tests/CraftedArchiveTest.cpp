// Crafted archives, one table: each must leave everything outside its work folder as it
// was, and either open with its hostile members left out or be refused with a message that
// says why, with nothing of it left behind; the same whether the book is unpacked whole (the
// editor) or only its package files are (lindar-cli).
#include "package/ePubContainerFormat.h"
#include "package/tests/ArchiveBuilder.h"
#include "package/tests/TestBooks.h"
#include "platform/core/MessageBox.h"

#include <QDirIterator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Every file, folder and link below `folder`, as sorted relative names.
QStringList entriesBelow(const QString& folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out.append(QDir(folder).relativeFilePath(it.next()));
    out.sort();
    return out;
}

// Rewrites every occurrence of `from` in the file (names in the local and central headers,
// sizes) to `to` of the same length: archives no zip tool would write.
bool patchFile(const QString& path, const QByteArray& from, const QByteArray& to)
{
    QFile file(path);
    if (from.size() != to.size() || !file.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = file.readAll();
    if (!bytes.contains(from))
        return false;
    bytes.replace(from, to);
    file.seek(0);
    return file.write(bytes) == bytes.size();
}

QByteArray littleEndian32(quint32 value)
{
    QByteArray out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = char((value >> (8 * i)) & 0xFF);
    return out;
}

// A table of contents nested `depth` levels deep.
QByteArray nestedNcx(int depth)
{
    QByteArray points;
    for (int i = 0; i < depth; ++i)
        points += "<navPoint id=\"p" + QByteArray::number(i) + "\"><navLabel><text>L</text></navLabel><content src=\"c1.xhtml\"/>";
    for (int i = 0; i < depth; ++i)
        points += "</navPoint>";
    return "<?xml version=\"1.0\"?><ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx\" version=\"2005-1\"><navMap>"
        + points + "</navMap></ncx>";
}

struct CraftedCase {
    const char* name;
    // Adds the crafted members to a sound book, and may patch the written file.
    std::function<void(ArchiveBuilder&)> craft;
    std::function<bool(const QString& path)> patch;
    const char* refusal; // part of the message of a refused book; null: it opens
    QStringList skipped; // members left out of a book that opens
    QStringList present; // files of the work folder of a book that opens
    _ARCHIVE_LIMITS limits = {};
};

class CraftedArchive : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_books.isValid());
        QDir(CePubContainerFormat::GetWorkFolderBase(true)).removeRecursively();
    }

    QTemporaryDir m_books;
    platform::ScriptedMessageBoxes m_messages;
    platform::ScopedMessageBoxBackend m_scopedMessages{&m_messages};
};

} // namespace

TEST_F(CraftedArchive, EachOpensWithoutItsHostileMembersOrIsRefusedWithItsReason)
{
    const QString root = qEnvironmentVariable("KVX_TEST_ROOT");
    ASSERT_FALSE(root.isEmpty());
    const QString absoluteTarget = root + "/crafted-absolute.txt";
    const QByteArray zeros(20 * 1024 * 1024, '\0');
    const QList<CraftedCase> cases{
        {"absolute name", [&](ArchiveBuilder& a) { a.add(absoluteTarget, "x"); }, {}, nullptr, {absoluteTarget}, {}},
        {"climbs with ..", [](ArchiveBuilder& a) { a.add("../crafted-up.txt", "x").add("OEBPS/../../crafted-inner.txt", "x"); },
         {}, nullptr, {"../crafted-up.txt", "OEBPS/../../crafted-inner.txt"}, {}},
        {"backslash names", [](ArchiveBuilder& a) { a.add("..\\crafted-back.txt", "x").add("\\crafted-root.txt", "x"); },
         {}, nullptr, {"..\\crafted-back.txt", "\\crafted-root.txt"}, {}},
        {"drive letters", [](ArchiveBuilder& a) { a.add("C:/crafted-drive.txt", "x").add("d:crafted-drive.txt", "x"); },
         {}, nullptr, {"C:/crafted-drive.txt", "d:crafted-drive.txt"}, {}},
        // A member below a link that was left out lands in a real folder of the book.
        {"symbolic links", [&](ArchiveBuilder& a) {
             a.addSymlink("OEBPS/link", root.toUtf8()).addSymlink("up", "/").add("up/crafted-through.txt", "x");
         },
         {}, nullptr, {"OEBPS/link", "up"}, {"up/crafted-through.txt"}},
        {"names that differ only in case",
         [](ArchiveBuilder& a) { a.add("OEBPS/Chapter.xhtml", "<html/>").add("OEBPS/chapter.xhtml", "<p/>"); }, {},
         nullptr, {}, {"OEBPS/Chapter.xhtml", "OEBPS/chapter.xhtml"}},
        {"a name twice", [](ArchiveBuilder& a) { a.add("OEBPS/twice.xhtml", "<a/>").add("OEBPS/twicX.xhtml", "<b/>"); },
         [](const QString& path) { return patchFile(path, "OEBPS/twicX.xhtml", "OEBPS/twice.xhtml"); },
         "\"OEBPS/twice.xhtml\" 항목이 두 번 들어 있습니다", {}, {}},
        {"a member recorded larger than the limit",
         [](ArchiveBuilder& a) { a.add("OEBPS/huge.bin", QByteArray(4321, 'h'), false); },
         [](const QString& path) { return patchFile(path, littleEndian32(4321), littleEndian32(0xFFFFFFF0u)); },
         "풀린 크기가 한도(2048 MiB)를 넘습니다 (\"OEBPS/huge.bin\" 항목에서)", {}, {}},
        {"a bomb", [&](ArchiveBuilder& a) { a.add("OEBPS/bomb.xhtml", zeros, false); }, {},
         "\"OEBPS/bomb.xhtml\" 항목은", {}, {}},
        {"more members than the limit", [](ArchiveBuilder& a) {
             for (int i = 0; i < 6; ++i)
                 a.add(QStringLiteral("OEBPS/extra%1.txt").arg(i), "x");
         },
         {}, "항목이 11개로 한도(10개)를 넘습니다", {}, {}, _ARCHIVE_LIMITS{.maxMembers = 10}},
        {"a table of contents nested past the XML limit",
         [](ArchiveBuilder& a) { a.add("OEBPS/toc.ncx", nestedNcx(kMaxXmlDepth), false); }, {},
         "\"toc.ncx\": XML 요소가 한도(25000단계)보다 깊이 중첩되어 있습니다", {}, {}},
        {"a file where a folder must go", [](ArchiveBuilder& a) { a.add("OEBPS/c1.xhtml/inner.xhtml", "x"); }, {},
         "같은 이름의 파일이 있어 폴더 \"OEBPS/c1.xhtml\"을(를) 만들 수 없습니다", {}, {}},
        {"a folder where a file must go", [](ArchiveBuilder& a) { a.add("OEBPS/text", "x"); }, {},
         "\"OEBPS/text\" 항목의 압축을 풀 수 없습니다: 같은 이름의 폴더가 있습니다", {}, {}},
    };
    for (const bool onDemand : {false, true})
    for (const CraftedCase& c : cases) {
        SCOPED_TRACE(onDemand ? "unpacked on demand" : "unpacked whole");
        SCOPED_TRACE(c.name);
        ArchiveBuilder book;
        book.addEpubFrame()
            .add("OEBPS/content.opf", testbooks::kPackage, false)
            .add("OEBPS/c1.xhtml", "<html/>", false)
            .add("OEBPS/text/c2.xhtml", "<html/>", false);
        c.craft(book);
        const QString path = m_books.filePath("crafted.epub");
        ASSERT_TRUE(book.write(path));
        if (c.patch)
            ASSERT_TRUE(c.patch(path));
        const QStringList before = entriesBelow(root);
        m_messages.clear();
        CePubContainerFormat container;
        container.GetZipWrapper().LoadLibraries();
        container.GetZipWrapper().SetLimits(c.limits);
        container.SetUnpackOnDemand(onDemand);
        const bool opened = container.OpenEpub(path);
        const QString work = container.GetWorkFolderPath();
        // Nothing new anywhere but in the work folder, its base and its lock.
        QStringList added = entriesBelow(root);
        for (const QString& entry : before)
            added.removeAll(entry);
        const QString workRelative = QDir(root).relativeFilePath(work);
        const QString baseRelative = QDir(root).relativeFilePath(CePubContainerFormat::GetWorkFolderBase(true));
        for (const QString& entry : std::as_const(added)) {
            const bool inWork = !work.isEmpty() && (entry == workRelative || entry.startsWith(workRelative + "/"));
            EXPECT_TRUE(inWork || entry == baseRelative || entry == baseRelative + "/.crafted.lock") << entry.toStdString();
        }
        EXPECT_FALSE(QFileInfo::exists(absoluteTarget));
        if (c.refusal) {
            EXPECT_FALSE(opened);
            EXPECT_TRUE(work.isEmpty());
            ASSERT_EQ(m_messages.asked().size(), 1);
            EXPECT_TRUE(m_messages.asked().first().text.contains(QString::fromUtf8(c.refusal)))
                << m_messages.asked().first().text.toStdString();
            EXPECT_EQ(entriesBelow(CePubContainerFormat::GetWorkFolderBase(true)), QStringList{});
            continue;
        }
        ASSERT_TRUE(opened) << container.GetLastError().toStdString();
        EXPECT_TRUE(m_messages.asked().isEmpty());
        EXPECT_TRUE(container.HasPackage());
        EXPECT_EQ(container.GetZipWrapper().GetSkippedMembers(), c.skipped);
        for (const QString& file : c.present) {
            const QString path = work + "/" + file;
            EXPECT_TRUE(onDemand ? container.GetZipWrapper().IsLeftInArchive(path) : QFileInfo(path).isFile())
                << file.toStdString();
        }
        ASSERT_FALSE(work.isEmpty());
        QDir(work).removeRecursively();
    }
}

// Inputs the book fuzz target found, each refused cleanly now.
TEST_F(CraftedArchive, FuzzFindingsAreRefusedWithAMessage)
{
    const QString findings = QStringLiteral(KVX_SOURCE_DIR "/package/tests/data/crafted");
    const QStringList names = QDir(findings).entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty());
    for (const bool onDemand : {false, true})
    for (const QString& name : names) {
        SCOPED_TRACE(onDemand ? "unpacked on demand" : "unpacked whole");
        SCOPED_TRACE(name.toStdString());
        const QString copy = m_books.filePath(name);
        QFile::remove(copy);
        ASSERT_TRUE(QFile::copy(findings + "/" + name, copy));
        m_messages.clear();
        CePubContainerFormat container;
        container.GetZipWrapper().LoadLibraries();
        container.SetUnpackOnDemand(onDemand);
        EXPECT_FALSE(container.OpenEpub(copy));
        EXPECT_EQ(m_messages.asked().size(), 1);
        EXPECT_TRUE(container.GetWorkFolderPath().isEmpty());
    }
}
