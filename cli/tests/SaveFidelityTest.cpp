// A save changes only what the user changed: crafted books through the real lindar-cli,
// one row per way a save used to damage a book or report a failure as success.
#include "package/ePubContainerFormat.h"
#include "package/tests/ArchiveBuilder.h"
#include "package/tests/TestBooks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include "cli/tests/CliRunner.h"

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using testbooks::readFile;
using testbooks::writeFile;

namespace {

QByteArray member(const QString& archive, const QString& name)
{
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return {};
    QByteArray data;
    zip_stat_t stat;
    if (zip_stat(zip, name.toUtf8().constData(), 0, &stat) == 0) {
        if (zip_file_t* file = zip_fopen(zip, name.toUtf8().constData(), 0)) {
            data.resize(qsizetype(stat.size));
            zip_fread(file, data.data(), stat.size);
            zip_fclose(file);
        }
    }
    zip_discard(zip);
    return data;
}

QByteArray opf(const QByteArray& metadata, const QByteArray& manifestExtra = {},
               const QByteArray& spine = "<itemref idref=\"c1\"/>")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<package xmlns=\"http://www.idpf.org/2007/opf\" xmlns:opf=\"http://www.idpf.org/2007/opf\" "
           "version=\"2.0\" unique-identifier=\"uid\">\n"
           "  <metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
           "    <dc:identifier id=\"uid\">urn:uuid:1</dc:identifier>\n"
        + metadata
        + "  </metadata>\n"
          "  <manifest>\n"
          "    <item id=\"ncx\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\"/>\n"
          "    <item id=\"c1\" href=\"c1.xhtml\" media-type=\"application/xhtml+xml\"/>\n"
        + manifestExtra
        + "  </manifest>\n"
          "  <spine toc=\"ncx\">"
        + spine + "</spine>\n</package>\n";
}

const QByteArray kNcx =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" version=\"2005-1\">\n"
    "  <head><meta name=\"dtb:uid\" content=\"urn:uuid:1\"/></head>\n"
    "  <docTitle><text>T</text></docTitle>\n"
    "  <navMap>\n"
    "    <navPoint id=\"start\" class=\"chapter\" playOrder=\"1\">\n"
    "      <navLabel><text>One</text></navLabel><content src=\"c1.xhtml\"/>\n"
    "    </navPoint>\n"
    "  </navMap>\n"
    "</ncx>\n";

ArchiveBuilder book(const QByteArray& package, const QByteArray& ncx = kNcx)
{
    ArchiveBuilder builder;
    builder.addEpubFrame()
        .add("OEBPS/content.opf", package, false)
        .add("OEBPS/toc.ncx", ncx, false)
        .add("OEBPS/c1.xhtml", "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body><p>x</p></body></html>", false);
    return builder;
}

// Rewrites a 16- or 32-bit field of the named member in both its local header and its
// central directory entry, for archives libzip would not write.
QByteArray patchMember(QByteArray zip, const QByteArray& name, int localOffset, int centralOffset,
                       quint32 value, int bytes)
{
    auto put = [&](qsizetype at) {
        for (int i = 0; i < bytes; ++i)
            zip[at + i] = char((value >> (8 * i)) & 0xff);
    };
    for (qsizetype at = zip.indexOf("PK\x03\x04"); at >= 0; at = zip.indexOf("PK\x03\x04", at + 4)) {
        if (zip.mid(at + 30, name.size()) == name)
            put(at + localOffset);
    }
    for (qsizetype at = zip.indexOf("PK\x01\x02"); at >= 0; at = zip.indexOf("PK\x01\x02", at + 4)) {
        if (zip.mid(at + 46, name.size()) == name)
            put(at + centralOffset);
    }
    return zip;
}

class SaveFidelity : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    // Writes the book, resaves it into out.epub (which holds "old" beforehand) and returns
    // the run.
    CliRun resave(const ArchiveBuilder& builder, const QStringList& sets = {})
    {
        EXPECT_TRUE(builder.write(path("in.epub")));
        return resaveFile(path("in.epub"), sets);
    }
    CliRun resaveFile(const QString& in, const QStringList& sets = {})
    {
        writeFile(path("out.epub"), "old");
        QStringList arguments{"resave", in, path("out.epub")};
        for (const QString& set : sets)
            arguments << "--set" << set;
        return runCli(arguments);
    }
    QByteArray savedOpf() const { return member(path("out.epub"), "OEBPS/content.opf"); }
    QByteArray savedNcx() const { return member(path("out.epub"), "OEBPS/toc.ncx"); }

    QTemporaryDir m_dir;
};

// Books that cannot be unpacked whole are refused, named, and nothing is written.
TEST_F(SaveFidelity, MembersThatCannotBeUnpackedFailTheOpen)
{
    struct Case {
        const char* what;
        std::function<QByteArray(const QByteArray&)> damage;
        ArchiveBuilder builder;
        QString named;
    };
    const QByteArray package = opf("    <dc:title>T</dc:title>\n");
    ArchiveBuilder clash = book(package);
    clash.add("OEBPS/images", "a file", false).add("OEBPS/images/p.png", "png", false);
    const QList<Case> cases = {
        {"bad CRC", [](const QByteArray& zip) { return patchMember(zip, "OEBPS/c1.xhtml", 14, 16, 0x12345678, 4); },
         book(package), "OEBPS/c1.xhtml"},
        {"unknown compression method", [](const QByteArray& zip) { return patchMember(zip, "OEBPS/c1.xhtml", 8, 10, 99, 2); },
         book(package), "OEBPS/c1.xhtml"},
        {"file where a folder must go", [](const QByteArray& zip) { return zip; }, clash, "OEBPS/images/p.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.builder.write(path("in.epub")));
        writeFile(path("in.epub"), c.damage(readFile(path("in.epub"))));
        const CliRun run = resaveFile(path("in.epub"));
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(c.named)) << run.err.toStdString();
        EXPECT_EQ(readFile(path("out.epub")), QByteArray("old"));

        // Saving over itself must leave the original whole.
        const QByteArray original = readFile(path("in.epub"));
        EXPECT_EQ(runCli({"resave", path("in.epub"), path("in.epub")}).exitCode, 1);
        EXPECT_EQ(readFile(path("in.epub")), original);
    }
}

TEST_F(SaveFidelity, MetadataTheGridDoesNotShowSurvivesAndEditsChangeOnlyTheirElement)
{
    const QByteArray metadata =
        "    <dc:title xml:lang=\"fr\">Le titre</dc:title>\n"
        "    <dc:creator opf:role=\"aut\" opf:file-as=\"Un, Auteur\" id=\"a1\">Auteur Un</dc:creator>\n"
        "    <dc:creator opf:role=\"aut\">Auteur Deux</dc:creator>\n"
        "    <dc:date opf:event=\"publication\">2001</dc:date>\n"
        "    <dc:date opf:event=\"modification\">2010-05-06</dc:date>\n"
        "    <dc:identifier opf:scheme=\"ISBN\" xsi:type=\"x\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">978</dc:identifier>\n"
        "    <dc:language>fr</dc:language>\n"
        "    <dc:subject>Sujet</dc:subject>\n"
        "    <dc:contributor opf:role=\"edt\">Editeur</dc:contributor>\n"
        "    <dc:contributor opf:role=\"trl\">Traducteur</dc:contributor>\n"
        "    <meta name=\"cover\" content=\"c1\"/>\n";
    const CliRun untouched = resave(book(opf(metadata)));
    ASSERT_EQ(untouched.exitCode, 0) << untouched.err.toStdString();
    EXPECT_EQ(savedOpf(), opf(metadata)) << savedOpf().toStdString();

    const CliRun edited = resave(book(opf(metadata)), {"저자=X", "편집인=Y", "출판일=2024-05"});
    ASSERT_EQ(edited.exitCode, 0) << edited.err.toStdString();
    QByteArray expected = metadata;
    expected.replace(">Auteur Un<", ">X<").replace(">Editeur<", ">Y<").replace(">2001<", ">2024-05<");
    EXPECT_EQ(savedOpf(), opf(expected)) << savedOpf().toStdString();
}

TEST_F(SaveFidelity, RowsTheBookLacksAreWrittenOnlyWhenSet)
{
    const QByteArray bare = "    <dc:title>T</dc:title>\n";
    const CliRun run = resave(book(opf(bare)));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(savedOpf(), opf(bare)) << savedOpf().toStdString();

    struct Case {
        QString set;
        QByteArray written;
    };
    const QList<Case> cases = {
        {"타입=기타", "<dc:type>기타</dc:type>"},
        {"출판사=P", "<dc:publisher>P</dc:publisher>"},
        {"ISBN=978-1", "<dc:identifier opf:scheme=\"ISBN\">978-1</dc:identifier>"},
        {"언어=영어(EN)", "<dc:language>EN</dc:language>"},
        {"출처=S", "<dc:source>S</dc:source>"},
        {"출판사 전화번호=02", "<meta name=\"publishertel\" content=\"02\"/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set.toStdString());
        ASSERT_EQ(resave(book(opf(bare)), {c.set}).exitCode, 0);
        EXPECT_EQ(savedOpf(), opf(bare + "    " + c.written + "\n")) << savedOpf().toStdString();
    }
    // What was set reads back as set, and survives the next save untouched.
    ASSERT_EQ(resave(book(opf(bare)), {"타입=기타"}).exitCode, 0);
    QFile::rename(path("out.epub"), path("typed.epub"));
    const CliRun info = runCli({"info", path("typed.epub")});
    EXPECT_TRUE(info.out.contains("\"기타\"")) << info.out.toStdString();
}

TEST_F(SaveFidelity, DatesOutsideTheW3CFormsAreRefused)
{
    for (const char* date : {"00-00-00", "2024-13", "24-05-01", "2024/05/01"}) {
        SCOPED_TRACE(date);
        const CliRun run = resave(book(opf("    <dc:title>T</dc:title>\n")), {QStringLiteral("출판일=") + date});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains("YYYY-MM-DD")) << run.err.toStdString();
        EXPECT_EQ(readFile(path("out.epub")), QByteArray("old"));
    }
}

TEST_F(SaveFidelity, ManifestAndSpineKeepEveryAttribute)
{
    const QByteArray extra =
        "    <item id=\"c2\" href=\"c2.xhtml\" media-type=\"application/xhtml+xml\" fallback=\"c1\"/>\n";
    const QByteArray spine = "<itemref idref=\"c1\" linear=\"yes\"/><itemref idref=\"c2\" linear=\"no\" class=\"x\"/>";
    ArchiveBuilder builder = book(opf("    <dc:title>T</dc:title>\n", extra, spine));
    builder.add("OEBPS/c2.xhtml", "<html/>", false);
    ASSERT_EQ(resave(builder).exitCode, 0);
    EXPECT_EQ(savedOpf(), opf("    <dc:title>T</dc:title>\n", extra, spine)) << savedOpf().toStdString();
}

TEST_F(SaveFidelity, TableOfContentsKeepsItsPointsAndUniquePlayOrder)
{
    QByteArray withPages = kNcx;
    withPages.replace("</navMap>\n", "</navMap>\n  <pageList><pageTarget id=\"p1\" type=\"normal\" value=\"1\" playOrder=\"2\">"
                                     "<navLabel><text>1</text></navLabel><content src=\"c1.xhtml#p1\"/></pageTarget></pageList>\n");
    ASSERT_EQ(resave(book(opf("    <dc:title>T</dc:title>\n"), withPages)).exitCode, 0);
    EXPECT_EQ(savedNcx(), withPages) << savedNcx().toStdString();

    // A title set on a book whose NCX lacks docTitle puts it where the schema wants it; a
    // root that declares an unrelated prefix does not lend it to the new elements.
    QByteArray noTitle = kNcx;
    noTitle.replace("  <docTitle><text>T</text></docTitle>\n", "");
    noTitle.replace("version=\"2005-1\"", "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" version=\"2005-1\"");
    ASSERT_EQ(resave(book(opf("    <dc:title>T</dc:title>\n"), noTitle), {"제목=New", "저자=A"}).exitCode, 0);
    const QByteArray ncx = savedNcx();
    EXPECT_LT(ncx.indexOf("</head>"), ncx.indexOf("<docTitle>")) << ncx.toStdString();
    EXPECT_LT(ncx.indexOf("<docTitle>"), ncx.indexOf("<docAuthor>")) << ncx.toStdString();
    EXPECT_LT(ncx.indexOf("<docAuthor>"), ncx.indexOf("<navMap>")) << ncx.toStdString();
    EXPECT_TRUE(ncx.contains("<docTitle>\n    <text>New</text>") || ncx.contains("<docTitle><text>New</text>")
                || ncx.contains("<text>New</text>")) << ncx.toStdString();
    EXPECT_FALSE(ncx.contains("xsi:doc")) << ncx.toStdString();
    EXPECT_TRUE(ncx.contains("id=\"start\" class=\"chapter\"")) << ncx.toStdString();

    // An empty title row leaves the book's docTitle alone.
    ASSERT_EQ(resave(book(opf("    <dc:title></dc:title>\n"))).exitCode, 0);
    EXPECT_TRUE(savedNcx().contains("<docTitle><text>T</text></docTitle>")) << savedNcx().toStdString();
}

TEST_F(SaveFidelity, MemberNamesInCp949ReadAsKorean)
{
    // "장1.xhtml" as a Korean Windows zip tool stores it: CP949 bytes, no UTF-8 flag.
    const QByteArray cp949Name = QByteArray("OEBPS/") + QByteArray("\xC0\xE5", 2) + "1.xhtml";
    ArchiveBuilder builder = book(opf("    <dc:title>T</dc:title>\n",
                                      "    <item id=\"k\" href=\"장1.xhtml\" media-type=\"application/xhtml+xml\"/>\n",
                                      "<itemref idref=\"k\"/>"));
    builder.addRawName(cp949Name, "<html/>");
    const CliRun run = resave(builder);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(member(path("out.epub"), QStringLiteral("OEBPS/장1.xhtml")), QByteArray("<html/>"));
    const CliRun info = runCli({"info", path("out.epub")});
    EXPECT_TRUE(info.out.contains("장1.xhtml")) << info.out.toStdString();
}

TEST_F(SaveFidelity, NewBooksHaveNoPlaceholders)
{
    ASSERT_EQ(runCli({"new", path("new.epub")}).exitCode, 0);
    const CliRun run = resaveFile(path("new.epub"), {"제목=어린 왕자", "저자=생텍쥐페리"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString package = QString::fromUtf8(savedOpf());
    EXPECT_TRUE(package.contains("href=\"stylesheet.css\" media-type=\"text/css\"")) << package.toStdString();
    for (const char* placeholder : {"책제목", "저자명", "주제", "출판사", "출판일", "저작권 날짜", "ISBN or ECN", "dc:Identifier", " role="})
        EXPECT_FALSE(package.contains(QString::fromUtf8(placeholder))) << placeholder << "\n" << package.toStdString();
    EXPECT_TRUE(package.contains("<dc:title>어린 왕자</dc:title>")) << package.toStdString();
    EXPECT_TRUE(package.contains("<dc:creator>생텍쥐페리</dc:creator>")) << package.toStdString();
    EXPECT_FALSE(package.contains("\n        \n")) << package.toStdString(); // no blank lines where placeholders were
}

TEST_F(SaveFidelity, SaveTargets)
{
    ASSERT_TRUE(book(opf("    <dc:title>T</dc:title>\n")).write(path("in.epub")));

    ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
    const CliRun fifo = runCli({"resave", path("in.epub"), path("fifo")});
    EXPECT_EQ(fifo.exitCode, 1);
    EXPECT_TRUE(QFileInfo(path("fifo")).isFile() == false && QFileInfo::exists(path("fifo")));

    writeFile(path("real.epub"), "old");
    ASSERT_TRUE(QFile::link(path("real.epub"), path("link.epub")));
    ASSERT_EQ(runCli({"resave", path("in.epub"), path("link.epub")}).exitCode, 0);
    EXPECT_TRUE(QFileInfo(path("link.epub")).isSymLink());
    EXPECT_FALSE(member(path("real.epub"), "OEBPS/content.opf").isEmpty());

    const QString base = CePubContainerFormat::GetWorkFolderBase(true);
    QDir().mkpath(base);
    const CliRun inside = runCli({"resave", path("in.epub"), base + "/x.epub"});
    EXPECT_EQ(inside.exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(base + "/x.epub"));

    // A killed save's leftover (its process is gone) goes at the next save into that folder.
    pid_t dead = ::fork();
    if (dead == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(dead, &status, 0);
    const QString stale = path(QStringLiteral(".lindar-saving-%1-abc").arg(dead));
    writeFile(stale, "partial");
    ASSERT_EQ(runCli({"resave", path("in.epub"), path("again.epub")}).exitCode, 0);
    EXPECT_FALSE(QFileInfo::exists(stale));
}

TEST_F(SaveFidelity, RefusedFilesSayWhy)
{
    struct Case {
        const char* what;
        QString file;
        std::function<void()> make;
        QString message;
    };
    const QList<Case> cases = {
        {"missing", path("missing.epub"), [] {}, "파일이 존재하지 않습니다."},
        {"folder", path("folder.epub"), [this] { QDir().mkpath(path("folder.epub")); }, "폴더입니다"},
        {"not a zip", path("text.epub"), [this] { writeFile(path("text.epub"), "just text, not an archive"); },
         "ZIP 압축 파일이 아닙니다."},
        {"container rule", path("plain.epub"),
         [this] { ArchiveBuilder().add("a.txt", "x").write(path("plain.epub")); }, "올바른 ePub 압축 파일이 아닙니다."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        const CliRun run = runCli({"info", c.file});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
    }
}

TEST_F(SaveFidelity, LongNamesAndBooksInsideTheWorkFolderOpen)
{
    // 255 bytes, the most a file name may have; written short, since the archive writer
    // needs room for a temporary name beside it.
    const QString longName = QString(250, QLatin1Char('a')) + ".epub";
    ASSERT_TRUE(book(opf("    <dc:title>T</dc:title>\n")).write(path("short.epub")));
    ASSERT_TRUE(QFile::rename(path("short.epub"), path(longName)));
    const CliRun run = runCli({"info", path(longName)});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();

    const QString base = CePubContainerFormat::GetWorkFolderBase(true);
    QDir().mkpath(base + "/T");
    ASSERT_TRUE(book(opf("    <dc:title>T</dc:title>\n")).write(base + "/T/T.epub"));
    EXPECT_EQ(runCli({"info", base + "/T/T.epub"}).exitCode, 0);
    EXPECT_TRUE(QFileInfo::exists(base + "/T/T.epub"));
}

TEST_F(SaveFidelity, BooksWithoutAPackageSayWhyAndAreNotResaved)
{
    struct Case {
        const char* what;
        QByteArray rootfile;
    };
    const QList<Case> cases = {
        {"no full-path", "<rootfile media-type=\"application/oebps-package+xml\"/>"},
        {"misspelt media type", "<rootfile full-path=\"OEBPS/content.opf\" media-type=\"application/oebps-package\"/>"},
        {"leaves the book", "<rootfile full-path=\"../content.opf\" media-type=\"application/oebps-package+xml\"/>"},
        {"missing file", "<rootfile full-path=\"OEBPS/none.opf\" media-type=\"application/oebps-package+xml\"/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ArchiveBuilder builder;
        builder.add("mimetype", "application/epub+zip")
            .addContainer(c.rootfile)
            .add("OEBPS/content.opf", opf("<dc:title>T</dc:title>"), false);
        ASSERT_TRUE(builder.write(path("in.epub")));
        const CliRun info = runCli({"info", path("in.epub")});
        EXPECT_EQ(info.exitCode, 0);
        EXPECT_TRUE(info.err.contains("no package")) << info.err.toStdString();
        const CliRun saved = resaveFile(path("in.epub"));
        EXPECT_EQ(saved.exitCode, 1);
        EXPECT_EQ(readFile(path("out.epub")), QByteArray("old"));
    }
}

} // namespace

namespace {

const QByteArray kLegacyPackage =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"2.0\" unique-identifier=\"uid\">\n"
    "  <metadata>\n"
    "    <dc-metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
    "      <dc:Title>Legacy</dc:Title>\n"
    "      <dc:Creator role=\"aut\">Old Writer</dc:Creator>\n"
    "      <dc:Language>en</dc:Language>\n"
    "      <dc:Identifier id=\"uid\">urn:uuid:1</dc:Identifier>\n"
    "    </dc-metadata>\n"
    "  </metadata>\n"
    "  <manifest>\n"
    "    <item id=\"ncx\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\"/>\n"
    "    <item id=\"c1\" href=\"c1.xhtml\" media-type=\"application/xhtml+xml\"/>\n"
    "  </manifest>\n"
    "  <spine toc=\"ncx\"><itemref idref=\"c1\"/></spine>\n</package>\n";

QString gridRow(const CliRun& run, const char* group, const QString& name)
{
    for (const QJsonValue& row : run.json().value("grid").toObject().value(group).toArray()) {
        if (row.toArray().at(0).toString() == name)
            return row.toArray().at(1).toString();
    }
    return QStringLiteral("<none>");
}

} // namespace

// Packages of the older format keep their Dublin Core in dc-metadata with capitalised names:
// the grid shows them, and a save edits them where they are instead of adding a second set.
TEST_F(SaveFidelity, LegacyMetadataIsShownAndEditedInPlace)
{
    ASSERT_TRUE(book(kLegacyPackage).write(path("legacy.epub")));
    const CliRun info = runCli({"info", path("legacy.epub")});
    EXPECT_EQ(gridRow(info, "required", "제목"), QStringLiteral("Legacy"));
    EXPECT_EQ(gridRow(info, "required", "저자"), QStringLiteral("Old Writer"));
    EXPECT_EQ(gridRow(info, "required", "언어"), QStringLiteral("영어(EN)"));

    ASSERT_EQ(resaveFile(path("legacy.epub")).exitCode, 0);
    EXPECT_EQ(savedOpf(), kLegacyPackage) << savedOpf().toStdString();

    ASSERT_EQ(resaveFile(path("legacy.epub"), {"제목=New"}).exitCode, 0);
    EXPECT_EQ(savedOpf(), QByteArray(kLegacyPackage).replace(">Legacy<", ">New<")) << savedOpf().toStdString();
}

// Ids are compared as XML compares an ID, without the blanks around it, and written back
// as they were.
TEST_F(SaveFidelity, IdsWithSurroundingBlanksStillMatch)
{
    QByteArray package = opf("    <dc:title>T</dc:title>\n");
    package.replace("id=\"ncx\"", "id=\"ncx \"").replace("id=\"c1\"", "id=\" c1\"");
    package.replace("<itemref idref=\"c1\"/>", "<itemref idref=\" c1\"/>");
    ASSERT_TRUE(book(package).write(path("blanks.epub")));
    const CliRun info = runCli({"info", path("blanks.epub")});
    EXPECT_TRUE(info.json().value("firstDocument").toString().endsWith("/OEBPS/c1.xhtml")) << info.out.toStdString();
    EXPECT_FALSE(info.json().value("trees").toObject().value("navigation").toArray().isEmpty()) << info.out.toStdString();
    ASSERT_EQ(resaveFile(path("blanks.epub")).exitCode, 0);
    EXPECT_EQ(savedOpf(), package) << savedOpf().toStdString();
}
