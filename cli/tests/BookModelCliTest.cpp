// The metadata grid and the navigation tree that lindar-cli shows, on the corpus and on new books.
#include "cli/BookJson.h"
#include "cli/BookSession.h"
#include "cli/JsonWriter.h"
#include "package/ePubContainerFormat.h"
#include "platform/core/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include "cli/tests/CliRunner.h"
#include "platform/testsupport/TestCorpus.h"

#include <gtest/gtest.h>

namespace {

const QString kCorpus = TestCorpusFolder();

// The NCX is not well-formed XML only because of a bare "&" in a label, which the XML
// reader accepts: the table of contents is shown although the description has none.
const QString kLenientNcx = QStringLiteral("gutenberg-alice-ncx-broken.epub");
// Its labels as the file has them, entities decoded and the bare "&" kept.
const QStringList kLenientNcxEntries = [] {
    const char* labels[] = {
        "THE \"STORYLAND\" SERIES", "ALICE'S ADVENTURES IN WONDERLAND", "SAM'L GABRIEL SONS & COMPANY NEW YORK",
        "Copyright, 1916, by SAM'L GABRIEL SONS & COMPANY NEW YORK", "I—DOWN THE RABBIT-HOLE",
        "II—THE POOL & OF TEARS", "III—A CAUCUS-RACE AND A LONG TALE", "IV—THE RABBIT SENDS IN A LITTLE BILL",
        "V—ADVICE FROM A CATERPILLAR", "VI—PIG AND PEPPER", "VII—A MAD TEA-PARTY", "VIII—THE QUEEN'S CROQUET GROUND",
        "IX—WHO STOLE THE TARTS?", "X—ALICE'S EVIDENCE",
    };
    const int anchors[] = {0, 2, 4, 6, 7, 14, 20, 27, 34, 40, 45, 48, 54, 58};
    QStringList entries;
    for (int i = 0; i < 14; ++i)
        entries << QString::fromUtf8(labels[i]) + ">www.gutenberg.org@files@19033@19033-h@19033-h-0.htm#pgepubid"
                + QString::number(anchors[i]).rightJustified(5, u'0');
    return entries;
}();

// In-process, through the same session and JSON as `lindar-cli info`.
QJsonObject bookJson(const cli::BookSession& session, const QString& file, bool opened)
{
    cli::JsonWriter json(false);
    cli::describeBook(json, session, file, opened);
    return QJsonDocument::fromJson(json.take()).object();
}

QJsonObject info(const QString& book)
{
    const CliRun run = runCli({"info", book});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return QJsonDocument::fromJson(run.out).object();
}

QByteArray member(const QString& archive, const QString& name)
{
    QProcess unzip;
    unzip.start("unzip", {"-p", archive, name});
    unzip.waitForFinished(60000);
    return unzip.readAllStandardOutput();
}

QString rowValue(const QJsonArray& rows, const QString& name)
{
    for (const QJsonValue& row : rows) {
        if (row.toArray().at(0).toString() == name)
            return row.toArray().at(1).toString();
    }
    return QStringLiteral("<none>");
}

// The 언어, ISBN and ECN rows of the corpus books whose rows are not "영어(EN)", "ISBN" and
// "ECN", read off each book's package by hand: a language outside the grid's list shows as the
// book holds it; an identifier shows only under the scheme its attributes name.
struct LanguageAndIdentifiers {
    const char* language;
    const char* isbn;
    const char* ecn;
};
const QHash<QString, LanguageAndIdentifiers> kUncommonRows = {
    {"calibre-quickstart-fra.epub", {"fr", "ISBN", "ECN"}},
    {"calibre-quickstart-tur.epub", {"tr", "ISBN", "ECN"}},
    {"ec2-container-missing.epub", {"한국어(KO)", "ISBN", "ECN"}},              // no package read
    {"ec2-opf-missing.epub", {"한국어(KO)", "ISBN", "ECN"}},                    // no package read
    {"ec2-rootfile-full-path-missing.epub", {"한국어(KO)", "ISBN", "ECN"}},     // no package read
    {"ec20-rootfile-mediatype-typo.epub", {"한국어(KO)", "ISBN", "ECN"}},       // package not taken
    {"ec20-filename-spaces.epub", {"독일(DE)", "urn:isbn:identifier", "ECN"}},  // opf:scheme="ISBN"
    {"pandoc-epub2-cover.epub", {"독일(DE)", "ISBN", "ECN"}},                   // de-DE
    {"epublib-testbook1.epub", {"영어(EN)", "987654321", "ECN"}},               // scheme ISBN
};
const LanguageAndIdentifiers kCommonRows = {"영어(EN)", "ISBN", "ECN"};

// Books the corpus description accepts that the session still does not open, and the books
// it refuses, by name, so that a book that stops opening fails instead of being skipped.
const QStringList kAcceptedButNotOpened = {"ec2-container-missing.epub"};
const QStringList kRefusedBooks = {
    "ec2-mimetype-missing.epub", "ec20-mimetype-not-first.epub", "ec3-mimetype-extra-field.epub",
    "epublib-not-a-zip.epub",    "rs-mimetype-not-first.epub",    "rs-opf-utf16.epub",
    "tika-testepub.epub",        "versone-empty-navmap.epub",     "versone-typical-epub2.epub",
};

std::string sortedNames(QStringList names)
{
    names.sort();
    return names.join(", ").toStdString();
}

// Entries of the navigation tree in pre-order, as "label>source".
void flattenTree(const QJsonArray& items, QStringList& out)
{
    for (const QJsonValue& value : items) {
        const QJsonObject item = value.toObject();
        const QJsonArray children = item.value("children").toArray();
        if (item.value("image").toInt() == 1) {
            const QJsonObject first = children.at(0).toObject();
            out << item.value("text").toString().trimmed() + ">"
                    + (first.value("image").toInt() == 2 ? first.value("text").toString() : QString());
        }
        flattenTree(children, out);
    }
}

void flattenExpected(const QJsonArray& points, QStringList& out)
{
    for (const QJsonValue& value : points) {
        const QJsonArray point = value.toArray();
        out << point.at(0).toString() + ">" + point.at(1).toString();
        flattenExpected(point.at(3).toArray(), out);
    }
}

} // namespace

TEST(BookModelCli, CorpusMetadataAndNavigationAgreeWithTheirDescription)
{
    KVX_NEED_CORPUS_FILE(kCorpus + "/expected.json");
    QFile file(kCorpus + "/expected.json");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QJsonObject books = QJsonDocument::fromJson(file.readAll()).object();
    books.remove("_about");
    QStringList notOpened;
    for (auto it = books.begin(); it != books.end(); ++it) {
        const QJsonObject book = it.value().toObject();
        if (!book.value("accepted").toBool())
            continue;
        SCOPED_TRACE(it.key().toStdString());
        // In-process through the same session and JSON as `lindar-cli info`, to keep this fast.
        cli::BookSession session;
        const bool opened = session.open(kCorpus + "/" + it.key());
        const QJsonObject json = bookJson(session, it.key(), opened);
        if (!opened) {
            notOpened << it.key();
            continue;
        }
        const QJsonArray required = json.value("grid").toObject().value("required").toArray();

        const bool packageRead = book.value("opf_rootfile_media_type_ok").toBool() && book.value("opf_root").isString();
        const QJsonArray titles = book.value("titles").toArray();
        // Each row shows the first element of its kind.
        const QString title = packageRead && !titles.isEmpty() ? titles.first().toString() : QStringLiteral("제목");
        EXPECT_EQ(rowValue(required, "제목"), title);
        const LanguageAndIdentifiers rows = kUncommonRows.value(it.key(), kCommonRows);
        EXPECT_EQ(rowValue(required, "언어"), QString::fromUtf8(rows.language));
        EXPECT_EQ(rowValue(required, "ISBN"), QString::fromUtf8(rows.isbn));
        EXPECT_EQ(rowValue(required, "ECN"), QString::fromUtf8(rows.ecn));
        if (!packageRead)
            EXPECT_TRUE(json.value("grid").toObject().value("additional").toArray().isEmpty());

        QStringList expectedEntries;
        if (packageRead)
            flattenExpected(book.value("navmap").toArray(), expectedEntries);
        QStringList entries;
        const QJsonArray navigation = json.value("trees").toObject().value("navigation").toArray();
        flattenTree(navigation, entries);
        if (it.key() == kLenientNcx)
            EXPECT_EQ(entries.join('|').toStdString(), kLenientNcxEntries.join('|').toStdString());
        else
            EXPECT_EQ(entries.join('|').toStdString(), expectedEntries.join('|').toStdString());
        // The title item heads the tree whenever the book has a title and a navMap.
        if (!expectedEntries.isEmpty() && !title.isEmpty()) {
            ASSERT_EQ(navigation.size(), 1);
            EXPECT_EQ(navigation.at(0).toObject().value("text").toString(), title);
            EXPECT_EQ(navigation.at(0).toObject().value("image").toInt(), 0);
        }
    }
    EXPECT_EQ(sortedNames(notOpened), sortedNames(kAcceptedButNotOpened));
}

TEST(BookModelCli, SavedCorpusBooksShowTheSameGridAndNavigation)
{
    KVX_NEED_CORPUS_FILE(kCorpus + "/expected.json");
    QTemporaryDir out;
    platform::ScriptedMessageBoxes messages; // refused books answer here instead of on stderr
    platform::ScopedMessageBoxBackend scoped(&messages);
    const QStringList books = QDir(kCorpus).entryList({"*.epub"}, QDir::Files, QDir::Name);
    QStringList notOpened;
    for (const QString& name : books) {
        SCOPED_TRACE(name.toStdString());
        QJsonObject before;
        {
            cli::BookSession session;
            if (!session.open(kCorpus + "/" + name)) {
                notOpened << name;
                continue;
            }
            before = bookJson(session, name, true);
            QString failure;
            ASSERT_TRUE(session.savePackageFiles(out.filePath(name), &failure)) << failure.toStdString();
            ASSERT_TRUE(session.saveAs(out.filePath(name)));
        }
        cli::BookSession session;
        ASSERT_TRUE(session.open(out.filePath(name)));
        const QJsonObject after = bookJson(session, name, true);
        EXPECT_EQ(after.value("grid"), before.value("grid"));
        EXPECT_EQ(after.value("trees").toObject().value("navigation"),
                  before.value("trees").toObject().value("navigation"));
    }
    EXPECT_EQ(sortedNames(notOpened), sortedNames(kRefusedBooks + kAcceptedButNotOpened));
}

// Books that bind the Dublin Core prefix on package or on each dc element, and an NCX with
// prefixed elements but plain attributes: `resave` keeps their title, author and sources.
TEST(BookModelCli, ResavedBooksKeepTitleCreatorAndNavigationSources)
{
    KVX_NEED_CORPUS_FILE(kCorpus + "/expected.json");
    QFile file(kCorpus + "/expected.json");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject books = QJsonDocument::fromJson(file.readAll()).object();
    QTemporaryDir out;
    for (const QString name : {"connexions-hpc.epub", "gutenberg-alice-2010.epub", "epublib-testbook1.epub"}) {
        SCOPED_TRACE(name.toStdString());
        const QJsonObject book = books.value(name).toObject();
        const QString saved = out.filePath(name);
        const CliRun resave = runCli({"resave", kCorpus + "/" + name, saved});
        ASSERT_EQ(resave.exitCode, 0) << resave.err.toStdString();
        const QJsonObject reopened = info(saved);
        const QJsonArray required = reopened.value("grid").toObject().value("required").toArray();
        EXPECT_EQ(rowValue(required, "제목"), book.value("titles").toArray().first().toString());
        EXPECT_EQ(rowValue(required, "저자"), book.value("creators").toArray().first().toObject().value("text").toString());
        QStringList expected;
        flattenExpected(book.value("navmap").toArray(), expected);
        QStringList entries;
        flattenTree(reopened.value("trees").toObject().value("navigation").toArray(), entries);
        EXPECT_EQ(entries, expected);
    }
}

TEST(BookModelCli, NewBooksAndTheirMetadataEdits)
{
    QTemporaryDir out;
    const QString fresh = out.filePath("fresh.epub");
    ASSERT_EQ(runCli({"new", fresh}).exitCode, 0);
    const QJsonObject made = info(fresh);
    EXPECT_TRUE(made.value("firstDocument").toString().endsWith("/fresh/OEBPS/ch01.xhtml"));
    const QJsonObject grid = made.value("grid").toObject();
    // The skeleton's placeholder texts were dropped by the save that wrote the book; its one
    // required title is the file's name, as no title was given.
    EXPECT_EQ(rowValue(grid.value("required").toArray(), "제목"), QStringLiteral("fresh"));
    EXPECT_TRUE(member(fresh, "OEBPS/content.opf").contains("<dc:title>fresh</dc:title>"));
    EXPECT_EQ(grid.value("additional").toArray(), QJsonArray());

    // Nested entries A (A1, A2) and B, with the numbering of another tool.
    QTemporaryDir unpacked;
    ASSERT_EQ(QProcess::execute("unzip", {"-q", fresh, "-d", unpacked.path()}), 0);
    const QString ncxPath = unpacked.filePath("OEBPS/toc.ncx");
    QByteArray ncx = member(fresh, "OEBPS/toc.ncx");
    const qsizetype start = ncx.indexOf("<navMap>");
    const qsizetype end = ncx.indexOf("</navMap>") + 9;
    ncx.replace(start, end - start,
                "<navMap><navPoint id=\"x\" playOrder=\"7\"><navLabel><text>A</text></navLabel><content src=\"ch01.xhtml\"/>"
                "<navPoint id=\"y\" playOrder=\"3\"><navLabel><text>A1</text></navLabel><content src=\"ch02.xhtml\"/></navPoint>"
                "<navPoint id=\"z\" playOrder=\"9\"><navLabel><text>A2</text></navLabel><content src=\"ch03.xhtml\"/></navPoint>"
                "</navPoint><navPoint id=\"w\" playOrder=\"1\"><navLabel><text>B</text></navLabel><content src=\"ch04.xhtml\"/></navPoint></navMap>");
    QFile ncxFile(ncxPath);
    ASSERT_TRUE(ncxFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ncxFile.write(ncx);
    ncxFile.close();
    const QString nested = out.filePath("nested.epub");
    QProcess zip;
    zip.setWorkingDirectory(unpacked.path());
    ASSERT_EQ((zip.start("zip", {"-X0q", nested, "mimetype"}), zip.waitForFinished(), zip.exitCode()), 0);
    ASSERT_EQ((zip.start("zip", {"-Xrq9", nested, ".", "-x", "mimetype"}), zip.waitForFinished(), zip.exitCode()), 0);

    const QString edited = out.filePath("edited.epub");
    const CliRun resave = runCli({"resave", nested, edited, "--set", "제목=어린 왕자", "--set", "저자=생텍쥐페리",
                                  "--set", "언어=영어(EN)", "--set", "편집인=김편집"});
    ASSERT_EQ(resave.exitCode, 0) << resave.err.toStdString();

    const QString opf = QString::fromUtf8(member(edited, "OEBPS/content.opf"));
    EXPECT_TRUE(opf.contains("<dc:title>어린 왕자</dc:title>"));
    EXPECT_TRUE(opf.contains("<dc:creator>생텍쥐페리</dc:creator>"));
    EXPECT_TRUE(opf.contains("<dc:language>EN</dc:language>"));
    EXPECT_TRUE(opf.contains("<dc:contributor opf:role=\"edt\">김편집</dc:contributor>"));
    EXPECT_TRUE(opf.contains("<dc:identifier id=\"EPB-UUID\">")); // the unique identifier stays
    const QString written = QString::fromUtf8(member(edited, "OEBPS/toc.ncx"));
    EXPECT_TRUE(written.contains("<docTitle>\n        <text>어린 왕자</text>"));
    EXPECT_TRUE(written.contains("<docAuthor>\n        <text>생텍쥐페리</text>"));
    // The table of contents was not edited, so it keeps the other tool's ids and numbers.
    EXPECT_TRUE(written.contains(
        "<navMap><navPoint id=\"x\" playOrder=\"7\"><navLabel><text>A</text></navLabel><content src=\"ch01.xhtml\"/>"
        "<navPoint id=\"y\" playOrder=\"3\"><navLabel><text>A1</text></navLabel><content src=\"ch02.xhtml\"/></navPoint>"
        "<navPoint id=\"z\" playOrder=\"9\"><navLabel><text>A2</text></navLabel><content src=\"ch03.xhtml\"/></navPoint>"
        "</navPoint><navPoint id=\"w\" playOrder=\"1\"><navLabel><text>B</text></navLabel><content src=\"ch04.xhtml\"/></navPoint></navMap>"))
        << written.toStdString();

    // Opening the result shows the edits.
    const QJsonObject reopened = info(edited);
    const QJsonObject reopenedGrid = reopened.value("grid").toObject();
    EXPECT_EQ(rowValue(reopenedGrid.value("required").toArray(), "제목"), QStringLiteral("어린 왕자"));
    EXPECT_EQ(rowValue(reopenedGrid.value("required").toArray(), "저자"), QStringLiteral("생텍쥐페리"));
    EXPECT_EQ(rowValue(reopenedGrid.value("required").toArray(), "언어"), QStringLiteral("영어(EN)"));
    EXPECT_EQ(rowValue(reopenedGrid.value("additional").toArray(), "편집인"), QStringLiteral("김편집"));
    QStringList entries;
    flattenTree(reopened.value("trees").toObject().value("navigation").toArray(), entries);
    EXPECT_EQ(entries, (QStringList{"A>ch01.xhtml", "A1>ch02.xhtml", "A2>ch03.xhtml", "B>ch04.xhtml"}));
    // Play order 1 is B's.
    EXPECT_EQ(reopened.value("firstDocument").toString().section('/', -2), QStringLiteral("OEBPS/ch04.xhtml"));
}

TEST(BookModelCli, SetRejectsUnknownRowsAndValuesOutsideTheChoices)
{
    const QList<QStringList> cases = {
        {"resave", "a.epub", "b.epub", "--set", "nonsense=1"},
        {"resave", "a.epub", "b.epub", "--set", "언어=Klingon"},
        {"resave", "a.epub", "b.epub", "--set", "제목"},
        {"resave", "a.epub", "b.epub", "--set"},
        {"new"},
    };
    for (const QStringList& arguments : cases) {
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
}
