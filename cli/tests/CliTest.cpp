// lindar-cli end to end: the real program on the corpus books and on crafted archives.
#include "package/ePubContainerFormat.h"
#include "package/tests/ArchiveBuilder.h"
#include "package/tests/TestBooks.h"
#include "platform/core/ProgramInfo.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "cli/tests/CliRunner.h"
#include "platform/testsupport/TestCorpus.h"

#include <gtest/gtest.h>

namespace {

const QString kCorpus = TestCorpusFolder();
const QString kInvalidMessage = QString::fromUtf8("올바른 ePub 압축 파일이 아닙니다.");

QStringList rootTexts(const QJsonArray& tree)
{
    QStringList out;
    for (const QJsonValue& item : tree)
        out.append(item.toObject().value("text").toString());
    return out;
}

QJsonObject expectedBooks()
{
    QFile file(kCorpus + "/expected.json");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QJsonObject books = QJsonDocument::fromJson(file.readAll()).object();
    books.remove("_about");
    return books;
}

QStringList workFolders()
{
    return QDir(CePubContainerFormat::GetWorkFolderBase(true)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
}

// What the corpus description says lindar-cli must show for one book.
struct Expectation {
    int exitCode;
    bool message;        // the invalid-book message on stderr
    QStringList manifest;
    QStringList spine;
};

Expectation expectationFor(const QJsonObject& book)
{
    if (!book.value("accepted").toBool())
        return {1, true, {}, {}};
    // The container check needs META-INF/container.xml; without it the book is refused
    // silently.
    if (!book.value("has_container").toBool())
        return {1, false, {}, {}};
    Expectation expected{0, false, {}, {}};
    // Only a rootfile typed as a package document is used.
    if (!book.value("opf_rootfile_media_type_ok").toBool())
        return expected;
    for (const QJsonValue& item : book.value("manifest").toArray())
        expected.manifest.append(item.toArray().at(0).toString());
    for (const QJsonValue& idref : book.value("spine").toArray())
        expected.spine.append(idref.toString());
    return expected;
}

} // namespace

TEST(LindarCli, HelpAndUsageErrors)
{
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("info [--pretty] BOOK.epub"));
    EXPECT_TRUE(help.out.contains("resave IN.epub OUT.epub"));
    const CliRun version = runCli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QByteArray("lindar-cli ") + platform::KitVersion() + "\n");

    const QList<QStringList> usageErrors{{}, {"info"}, {"info", "a.epub", "b.epub"}, {"resave", "a.epub"}, {"frobnicate"}};
    for (const QStringList& arguments : usageErrors) {
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
}

TEST(LindarCli, InfoOnEveryCorpusBookMatchesItsDescription)
{
    KVX_NEED_CORPUS_FILE(kCorpus + "/expected.json");
    const QJsonObject books = expectedBooks();
    ASSERT_GT(books.size(), 50);
    for (auto it = books.begin(); it != books.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        const Expectation expected = expectationFor(it.value().toObject());
        const CliRun run = runCli({"info", kCorpus + "/" + it.key()});
        EXPECT_EQ(run.exitCode, expected.exitCode);
        // A file that is no ZIP archive at all gets its own message.
        const bool refusedWithMessage = run.err.contains(kInvalidMessage)
            || run.err.contains(QString::fromUtf8("ZIP 압축 파일이 아닙니다."));
        EXPECT_EQ(refusedWithMessage, expected.message) << run.err.toStdString();
        const QJsonObject json = run.json();
        EXPECT_EQ(json.value("accepted").toBool(), expected.exitCode == 0);
        const QJsonObject trees = json.value("trees").toObject();
        EXPECT_EQ(rootTexts(trees.value("manifest").toArray()), expected.manifest);
        EXPECT_EQ(rootTexts(trees.value("spine").toArray()), expected.spine);
        EXPECT_TRUE(workFolders().isEmpty()) << "work folder left behind";
    }
}

TEST(LindarCli, InfoDescribesPathsAndTreeItems)
{
    QTemporaryDir books;
    ASSERT_TRUE(books.isValid());
    ArchiveBuilder book;
    book.addEpubFrame().add("OEBPS/content.opf", testbooks::kPackage).add("OEBPS/c1.xhtml", "<html/>");
    ASSERT_TRUE(book.write(books.filePath("small.epub")));

    const CliRun run = runCli({"info", books.filePath("small.epub")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject json = run.json();
    const QString work = CePubContainerFormat::GetWorkFolderBase() + "small";
    EXPECT_EQ(json.value("workFolder").toString(), work);
    EXPECT_EQ(json.value("packagePath").toString(), work + "/OEBPS/content.opf");
    EXPECT_EQ(json.value("ncxPath").toString(), work + "/OEBPS/toc.ncx");
    EXPECT_EQ(json.value("firstDocument").toString(), work + "/OEBPS/c1.xhtml");
    const QJsonObject trees = json.value("trees").toObject();
    const QJsonObject expectedSpine = QJsonDocument::fromJson(R"({"text": "c2", "image": 0, "children": [
        {"text": "application/xhtml+xml", "image": 6, "children": []},
        {"text": "c2.xhtml", "image": 0, "children": []}]})").object();
    EXPECT_EQ(trees.value("spine").toArray().at(1).toObject(), expectedSpine);
    EXPECT_EQ(rootTexts(trees.value("manifest").toArray()), (QStringList{"ncx", "c1", "c2"}));
    EXPECT_TRUE(trees.value("navigation").isArray());
    EXPECT_TRUE(workFolders().isEmpty());
}

TEST(LindarCli, HostileArchiveWritesNothingOutsideItsWorkFolder)
{
    QTemporaryDir books;
    ASSERT_TRUE(books.isValid());
    const QString root = qEnvironmentVariable("KVX_TEST_ROOT");
    const QString absoluteTarget = root + "/cli-absolute-escape.txt";
    ArchiveBuilder book;
    book.addEpubFrame()
        .add("OEBPS/content.opf", testbooks::kPackage)
        .add("../cli-escape.txt", "x")
        .add("../../cli-escape.txt", "x")
        .add("OEBPS/../../../cli-escape-inner.txt", "x")
        .add(absoluteTarget, "x")
        .addSymlink("OEBPS/link", "/");
    ASSERT_TRUE(book.write(books.filePath("hostile.epub")));

    const CliRun run = runCli({"info", books.filePath("hostile.epub")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(rootTexts(run.json().value("trees").toObject().value("spine").toArray()), (QStringList{"c1", "c2"}));
    QDirIterator it(root, {"cli-*escape*"}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    EXPECT_FALSE(it.hasNext()) << it.next().toStdString();
    EXPECT_TRUE(workFolders().isEmpty());
}

TEST(LindarCli, LeavesTheWorkFolderOfABookOpenElsewhereAlone)
{
    QTemporaryDir books;
    ASSERT_TRUE(books.isValid());
    ArchiveBuilder book;
    book.addEpubFrame().add("OEBPS/content.opf", testbooks::kPackage);
    ASSERT_TRUE(book.write(books.filePath("shared.epub")));
    {
        // The editor has the book open, with a change not yet saved.
        CePubContainerFormat editorBook;
        editorBook.GetZipWrapper().LoadLibraries();
        ASSERT_TRUE(editorBook.OpenEpub(books.filePath("shared.epub")));
        const QString unsaved = editorBook.GetWorkFolderPath() + "/OEBPS/unsaved.xhtml";
        ASSERT_TRUE(testbooks::writeFile(unsaved, "<html/>"));

        const CliRun run = runCli({"info", books.filePath("shared.epub")});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.json().value("workFolder").toString(), CePubContainerFormat::GetWorkFolderBase() + "shared(01)");
        EXPECT_TRUE(QFileInfo::exists(unsaved));
        EXPECT_EQ(workFolders(), QStringList{"shared"});
    }
    QDir(CePubContainerFormat::GetWorkFolderBase() + "shared").removeRecursively();
}

TEST(LindarCli, ResaveWritesBooksThatOpenAgainTheSame)
{
    KVX_NEED_CORPUS_FILE(kCorpus + "/expected.json");
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QJsonObject books = expectedBooks();
    QStringList withoutPackage;
    for (auto it = books.begin(); it != books.end(); ++it) {
        if (expectationFor(it.value().toObject()).exitCode != 0)
            continue;
        SCOPED_TRACE(it.key().toStdString());
        const QString source = kCorpus + "/" + it.key();
        const QString target = out.filePath(it.key());
        const CliRun before = runCli({"info", source});
        const CliRun resave = runCli({"resave", source, target});
        // A book without a usable package is shown but never saved: there is nothing to save.
        if (before.json().value("packagePath").toString().isEmpty() || before.err.contains("no package")) {
            EXPECT_EQ(resave.exitCode, 1) << resave.err.toStdString();
            EXPECT_FALSE(QFileInfo::exists(target));
            withoutPackage << it.key();
            continue;
        }
        ASSERT_EQ(resave.exitCode, 0) << resave.err.toStdString();

        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray head = file.read(58);
        EXPECT_EQ(head.mid(8, 2), QByteArray(2, '\0'));  // stored
        EXPECT_EQ(head.mid(28, 2), QByteArray(2, '\0')); // no extra field
        EXPECT_EQ(head.mid(30, 8), QByteArray("mimetype"));
        EXPECT_EQ(head.mid(38, 20), QByteArray("application/epub+zip"));
        QProcess unzip;
        unzip.start("unzip", {"-tq", target});
        ASSERT_TRUE(unzip.waitForFinished(60000));
        EXPECT_EQ(unzip.exitCode(), 0) << unzip.readAllStandardOutput().constData();

        const CliRun after = runCli({"info", target});
        ASSERT_EQ(after.exitCode, 0);
        const QJsonObject treesBefore = before.json().value("trees").toObject();
        const QJsonObject treesAfter = after.json().value("trees").toObject();
        EXPECT_EQ(treesAfter.value("manifest"), treesBefore.value("manifest"));
        EXPECT_EQ(treesAfter.value("spine"), treesBefore.value("spine"));
    }
    withoutPackage.sort();
    EXPECT_EQ(withoutPackage, (QStringList{"ec2-opf-missing.epub", "ec2-rootfile-full-path-missing.epub",
                                           "ec20-rootfile-mediatype-typo.epub"}));
    EXPECT_TRUE(workFolders().isEmpty());
}

TEST(LindarCli, ResaveFailuresAreReportedAndLeaveTheTargetAlone)
{
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString target = out.filePath("kept.epub");
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("earlier");
    }
    ASSERT_TRUE(testbooks::writeFile(out.filePath("text.epub"), "not an archive"));
    const CliRun rejected = runCli({"resave", out.filePath("text.epub"), target});
    EXPECT_EQ(rejected.exitCode, 1);
    EXPECT_TRUE(rejected.err.contains(QString::fromUtf8("ZIP 압축 파일이 아닙니다."))) << rejected.err.toStdString();

    ArchiveBuilder book;
    book.addEpubFrame().add("OEBPS/content.opf", testbooks::kPackage);
    ASSERT_TRUE(book.write(out.filePath("book.epub")));
    const CliRun unwritable = runCli({"resave", out.filePath("book.epub"), out.filePath("missing/dir/out.epub")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.err.contains("could not be written"));

    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("earlier"));
    EXPECT_TRUE(workFolders().isEmpty());
}
